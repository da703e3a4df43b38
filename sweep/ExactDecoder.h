#pragma once

#include <cstdint>

#include "core/BlockState.h"
#include "core/Simulation.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

struct FrameOutcome {
  std::int32_t channelInfoErrors = 0;
  std::int32_t infoErrorsLeft = 0;  // after decoding
  std::int32_t iterations = 0;      // sweeps performed: 0 when ktrh[0] <= 0
  friend bool operator==(const FrameOutcome&, const FrameOutcome&) = default;
};

// One frame through core's own silent passes: the syndrome former and the decoder of a Run.
// `scratch` is overwritten; info and check hold nbl error bits each.
FrameOutcome decodeFrameExact(Simulation& scratch, const SweepCode& code, const Bit* info,
                              const Bit* check);

}  // namespace mtd::sweep
