#pragma once

#include <bit>
#include <cstdint>

#include "sweep/NoiseStreams.h"

namespace mtd::sweep {

class SoundNoise;

// The comparison of a lane's uniform word with the threshold takes this many leading bits from
// the main stream, every lane at once; the rest comes from the tail stream, lane by lane.
inline constexpr int LEAD_BITS = 12;
inline constexpr std::uint64_t TAIL_MASK = (std::uint64_t{1} << (64 - LEAD_BITS)) - 1;

// Errors among the undecided lanes, in increasing lane order: one tail word each.
inline std::uint64_t settleTail(Xoshiro256& tail, std::uint64_t undecided,
                                std::uint64_t tailThreshold) {
  std::uint64_t errors = 0;
  while (undecided != 0) {
    const int lane = std::countr_zero(undecided);
    undecided &= undecided - 1;
    if ((tail.next() >> LEAD_BITS) < tailThreshold) errors |= std::uint64_t{1} << lane;
  }
  return errors;
}

// Four groups at once with AVX2, equal to four portable fills; false when the processor lacks
// AVX2 and nothing was written.
bool fillFourGroupsAvx2(const SoundNoise& noise, std::int64_t firstGroup, std::int32_t positions,
                        std::uint64_t* out);

}  // namespace mtd::sweep
