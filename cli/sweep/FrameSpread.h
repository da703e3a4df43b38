#pragma once

#include <cstdint>

#include "sweep/PointSetup.h"

namespace mtd::cli {

// Below this many batches the spread over batches says too little, and the frames themselves
// are decoded again, one by one, for the spread of their errors: at most this many batches of
// frames, a fraction of a second.
inline constexpr std::int64_t FEW_BATCHES = 10;

// The sum over frames 0 to frames - 1 of the point of each frame's decoded information errors
// squared, by core's decoder on the noise the sweep drew.
double frameErrorSquares(const sweep::PointSetup& setup, std::int64_t frames);

}  // namespace mtd::cli
