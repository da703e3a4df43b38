#pragma once

#include <string>

#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

// The CSV's first line, naming its columns, ending in a line feed.
std::string csvHeading();

// One point as a CSV line; the rates are written with enough digits to recompute the counts.
std::string csvRow(const SweepPoint& point);

}  // namespace mtd::cli
