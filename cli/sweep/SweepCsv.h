#pragma once

#include <string>

#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

// The CSV's line naming its columns, ending in a line feed.
std::string csvHeading();

// One point as a CSV line; the rates are written with enough digits to recompute the counts.
// The intervals are 95 %; `stopped_by` says which rule ended the point, `complete` whether it
// reached its frame or frame-error rule, `thin` whether fewer than 10 frames were in error.
std::string csvRow(const SweepPoint& point);

}  // namespace mtd::cli
