#include "sweep/SoundNoise.h"

#include <cmath>

#include "sweep/LanePaths.h"
#include "sweep/NoisePaths.h"

#define MTD_NOISE_NAMESPACE portable_noise
#include "sweep/NoiseKernels.h"

namespace mtd::sweep {

void fillGroupsPortable(const StreamStates* streams, std::uint64_t threshold,
                        std::int32_t positions, std::uint64_t* out, int stride) {
  const StreamStates& states = *streams;
  portable_noise::Xoshiro256 main{{states.main[0], states.main[1], states.main[2], states.main[3]}};
  portable_noise::Xoshiro256 tail{{states.tail[0], states.tail[1], states.tail[2], states.tail[3]}};
  const std::uint64_t tailThreshold = threshold & TAIL_MASK;
  for (std::int32_t r = 0; r < positions; ++r) {
    // Lane l draws a uniform U from the main stream's words, most significant bit first, and
    // errs where U < threshold; a lane still equal after the leading bits takes its low bits
    // from the tail stream.
    std::uint64_t undecided = ~std::uint64_t{0};
    std::uint64_t errors = 0;
    for (int j = 63; j >= 64 - LEAD_BITS; --j) {
      const std::uint64_t random = main.next();
      if ((threshold >> j) & 1) {
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

SoundNoise::SoundNoise(std::uint64_t seed, std::uint32_t pointIndex, double p)
    : seed_(seed), pointIndex_(pointIndex) {
  if (p >= 1.0) {
    always_ = true;
  } else if (p > 0.0) {
    // Below 1, p * 2^64 fits; the fraction below 2^-64 is dropped.
    threshold_ = static_cast<std::uint64_t>(std::ldexp(p, 64));
  }
}

bool SoundNoise::constant(std::int32_t positions, std::uint64_t* out, int stride,
                          int groups) const {
  if (!always_ && threshold_ != 0) return false;
  const std::uint64_t word = always_ ? ~std::uint64_t{0} : 0;
  for (std::int32_t r = 0; r < positions; ++r) {
    for (int i = 0; i < groups; ++i) out[std::size_t(r) * stride + i] = word;
  }
  return true;
}

void SoundNoise::fillPortable(std::int64_t group, std::int32_t positions, std::uint64_t* out,
                              int stride) const {
  if (constant(positions, out, stride, 1)) return;
  const StreamStates states = groupStreams(seed_, pointIndex_, group);
  fillGroupsPortable(&states, threshold_, positions, out, stride);
}

void SoundNoise::fill(LanePath path, std::int64_t firstGroup, int groups, std::int32_t positions,
                      std::uint64_t* out) const {
  if (constant(positions, out, groups, groups)) return;
  const LanePathEntry& entry = lanePath(path);
  int i = 0;
  if (lanePathSupported(path)) {
    constexpr int MAX_AT_ONCE = 16;
    StreamStates streams[MAX_AT_ONCE];
    for (; i + entry.noiseGroups <= groups; i += entry.noiseGroups) {
      for (int k = 0; k < entry.noiseGroups; ++k) {
        streams[k] = groupStreams(seed_, pointIndex_, firstGroup + i + k);
      }
      entry.noise(streams, threshold_, positions, out + i, groups);
    }
  }
  for (; i < groups; ++i) fillPortable(firstGroup + i, positions, out + i, groups);
}

}  // namespace mtd::sweep
