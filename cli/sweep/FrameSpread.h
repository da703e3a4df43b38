#pragma once

#include <cstdint>

#include "sweep/PointSetup.h"

namespace mtd::cli {

// Below this many batches the spread over batches says too little, and the frames themselves
// are decoded again, with each frame's outcome kept, for the spread of their errors: at most
// this many batches of frames, a few milliseconds.
inline constexpr std::int64_t FEW_BATCHES = 10;

// The sum over frames 0 to frames - 1 of the point of each frame's decoded information errors
// squared, as the engine decodes them again.
double frameErrorSquares(const sweep::PointSetup& setup, std::int64_t frames);

}  // namespace mtd::cli
