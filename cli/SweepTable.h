#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/SweepOptions.h"
#include "cli/SweepPoint.h"
#include "core/SimParams.h"
#include "sweep/LanePaths.h"

namespace mtd::cli {

// What the header of a sweep's output states besides the options.
struct SweepFacts {
  const SimParams& code;              // as loaded from init.txt
  const std::vector<double>& p;       // the points, in order
  std::int64_t batchFrames = 0;       // the stop rules are tested at batch ends
  std::string configuration;          // where the code came from
  const sweep::LanePathEntry& lanes;  // the engine's lane path
};

// Comment lines ('#') naming every parameter of the sweep, then the table's heading.
std::string sweepHeader(const SweepFacts& facts, const SweepOptions& options);

// One row of the table, ending in a line feed; an interrupted point says so.
std::string sweepRow(const SweepPoint& point);

}  // namespace mtd::cli
