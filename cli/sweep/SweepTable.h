#pragma once

#include <string>

#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

// The table's heading as comment lines, ending in a line feed; under 80 columns.
std::string tableHeading();

// The line that opens the rows of one code when a sweep compares several.
std::string tableCurveLine(const std::string& name);

// One row of the table, ending in a line feed: the rates with their 95 % intervals as
// percentages below and above, and what is unusual about the point (thin evidence, a time
// limit, an interruption). Under 80 columns.
std::string sweepRow(const SweepPoint& point);

}  // namespace mtd::cli
