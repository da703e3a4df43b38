#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "sweep/BatchTally.h"
#include "sweep/PointSetup.h"
#include "sweep/StopRule.h"

namespace mtd::sweep {

struct PointResult {
  BatchTally total;
  double seconds = 0.0;
  // False only when the point was cancelled; a time limit is a stop rule like the others.
  bool complete = false;
};

// Called on runPoint's own thread after batches are folded, with the running total and the
// seconds since the point started.
using ProgressCallback = std::function<void(const BatchTally& total, double seconds)>;

// Batches for the results held back at most, per thread: memory stays bounded whatever the
// frame count.
inline constexpr std::int64_t BATCHES_AHEAD_PER_THREAD = 4;

// Runs one point on `threads` worker threads (at least 1) that pull batch numbers as they free
// up. The counts depend only on the setup and the rule (a time limit aside). Setting `cancel`
// ends the point within a batch or two.
PointResult runPoint(const PointSetup& setup, const StopRule& rule, int threads,
                     const std::atomic<bool>& cancel, const ProgressCallback& progress = {});

}  // namespace mtd::sweep
