#pragma once

#include <cstdint>

#include "core/BlockState.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

// The channel errors of frame `frame` of a point, nbl bits each, exactly as the sweep drew them:
// what a user needs to trace one failing frame through core's decoder.
// `frame` lies from 0 below MAX_FRAMES.
void frameNoise(const PointSetup& setup, std::int64_t frame, Bit* info, Bit* check);

}  // namespace mtd::sweep
