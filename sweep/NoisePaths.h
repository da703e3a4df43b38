#pragma once

#include <cstdint>

#include "sweep/NoiseStreams.h"

namespace mtd::sweep {

// The sound noise of a lane path's groups at once: streams[0..G-1] are groups i = 0..G-1, whose
// error words go to out[r * stride + i] for r < positions. Every path fills a group exactly as
// the portable code fills it alone; threshold is 2^64 p (0 < p < 1).
using NoiseGroupsFn = void (*)(const StreamStates* streams, std::uint64_t threshold,
                               std::int32_t positions, std::uint64_t* out, int stride);

void fillGroupsPortable(const StreamStates* streams, std::uint64_t threshold,
                        std::int32_t positions, std::uint64_t* out, int stride);  // G = 1
void fillGroupsAvx2(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                    std::uint64_t* out, int stride);  // G = 8
void fillGroupsAvx512(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                      std::uint64_t* out, int stride);  // G = 16

}  // namespace mtd::sweep
