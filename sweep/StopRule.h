#pragma once

#include <cstdint>
#include <optional>

#include "sweep/BatchTally.h"

namespace mtd::sweep {

struct StopRule {
  std::int64_t maxFrames = 1'000'000;
  std::int64_t maxFrameErrors = 100;  // 0: never
  std::optional<double> maxSeconds;   // checked by the runner, not here
};

// Frames and frame errors only, so the result depends on the counts alone.
inline bool stopReached(const BatchTally& sum, const StopRule& rule) {
  if (sum.frames >= rule.maxFrames) return true;
  return rule.maxFrameErrors > 0 && sum.frameErrors >= rule.maxFrameErrors;
}

}  // namespace mtd::sweep
