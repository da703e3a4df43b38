#include "sweep/SoundNoise.h"

#include <cmath>

#define MTD_NOISE_NAMESPACE portable_noise
#include "sweep/NoiseKernels.h"

namespace mtd::sweep {

SoundNoise::SoundNoise(std::uint64_t seed, std::uint32_t pointIndex, double p)
    : seed_(seed), pointIndex_(pointIndex) {
  if (p >= 1.0) {
    always_ = true;
  } else if (p > 0.0) {
    // Below 1, p * 2^64 fits; the fraction below 2^-64 is dropped.
    threshold_ = static_cast<std::uint64_t>(std::ldexp(p, 64));
  }
}

void SoundNoise::fillPortable(std::int64_t group, std::int32_t positions, std::uint64_t* out,
                              int stride) const {
  if (always_ || threshold_ == 0) {
    const std::uint64_t word = always_ ? ~std::uint64_t{0} : 0;
    for (std::int32_t r = 0; r < positions; ++r) out[std::size_t(r) * stride] = word;
    return;
  }
  const StreamStates states = groupStreams(seed_, pointIndex_, group);
  portable_noise::Xoshiro256 main{{states.main[0], states.main[1], states.main[2], states.main[3]}};
  portable_noise::Xoshiro256 tail{{states.tail[0], states.tail[1], states.tail[2], states.tail[3]}};
  const std::uint64_t tailThreshold = threshold_ & TAIL_MASK;
  for (std::int32_t r = 0; r < positions; ++r) {
    // Lane l draws a uniform U from the main stream's words, most significant bit first, and
    // errs where U < threshold; a lane still equal after the leading bits takes its low bits
    // from the tail stream.
    std::uint64_t undecided = ~std::uint64_t{0};
    std::uint64_t errors = 0;
    for (int j = 63; j >= 64 - LEAD_BITS; --j) {
      const std::uint64_t random = main.next();
      if ((threshold_ >> j) & 1) {
        errors |= undecided & ~random;
        undecided &= random;
      } else {
        undecided &= ~random;
      }
    }
    if (tailThreshold != 0) errors |= portable_noise::settleTail(tail, undecided, tailThreshold);
    out[std::size_t(r) * stride] = errors;
  }
}

void SoundNoise::fill(std::int64_t firstGroup, int groups, std::int32_t positions,
                      std::uint64_t* out) const {
  int i = 0;
  if (!always_ && threshold_ != 0) {
    for (; i + 4 <= groups; i += 4) {
      const StreamStates streams[4] = {groupStreams(seed_, pointIndex_, firstGroup + i),
                                       groupStreams(seed_, pointIndex_, firstGroup + i + 1),
                                       groupStreams(seed_, pointIndex_, firstGroup + i + 2),
                                       groupStreams(seed_, pointIndex_, firstGroup + i + 3)};
      if (!fillFourGroupsAvx2(streams, threshold_, positions, out + i, groups)) break;
    }
  }
  for (; i < groups; ++i) fillPortable(firstGroup + i, positions, out + i, groups);
}

}  // namespace mtd::sweep
