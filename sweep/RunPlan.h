#pragma once

#include <array>
#include <cstdint>

#include "core/Limits.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

// The positions of one sweep, in the decoder's order (from the first position examined to the
// end, then from 0), cut where a position plus some tap passes nbl: within a run every tap is
// a constant offset, so the bit-sliced sweep needs no wrap per position.
struct PositionRun {
  std::int32_t begin = 0;
  std::int32_t end = 0;
  std::array<std::int32_t, MAX_NDN_USED> offsets{};  // tap j reads position f + offsets[j]
};

struct RunPlan {
  static constexpr int MAX_RUNS = MAX_NDN_USED + 4;
  std::array<PositionRun, MAX_RUNS> runs{};
  int count = 0;
  std::int32_t tapCount = 0;
  // No two taps meet at one position (equal taps, or 0 and nbl): a flip then toggles every
  // syndrome word it reads exactly once.
  bool distinctTaps = true;

  explicit RunPlan(const SweepCode& code);
};

}  // namespace mtd::sweep
