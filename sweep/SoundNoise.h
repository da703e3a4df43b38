#pragma once

#include <cstdint>

#include "sweep/LanePath.h"

namespace mtd::sweep {

// Independent Bernoulli(p) errors keyed by (seed, point, frame). Frames come in groups of 64:
// bit l of word r of group g is the error of frame 64g + l at position r (information bits
// 0..nbl-1, then check bits). A group's words depend only on (seed, point, g, p), whatever the
// lane width of the decoder that consumes them.
class SoundNoise {
 public:
  SoundNoise(std::uint64_t seed, std::uint32_t pointIndex, double p);

  // Groups firstGroup..firstGroup+groups-1 into out[r * groups + i], r < positions, drawn
  // with the noise of a lane path (the portable code where that path is not supported here):
  // the words are the same whichever path draws them.
  void fill(LanePath path, std::int64_t firstGroup, int groups, std::int32_t positions,
            std::uint64_t* out) const;

  // The same for one group with the portable code, whatever the processor offers.
  void fillPortable(std::int64_t group, std::int32_t positions, std::uint64_t* out,
                    int stride) const;

  std::uint64_t threshold() const { return threshold_; }
  bool always() const { return always_; }
  std::uint64_t seed() const { return seed_; }
  std::uint32_t pointIndex() const { return pointIndex_; }

 private:
  // p = 0 or p >= 1: every word the same, written here; false otherwise.
  bool constant(std::int32_t positions, std::uint64_t* out, int stride, int groups) const;

  std::uint64_t seed_;
  std::uint32_t pointIndex_;
  std::uint64_t threshold_ = 0;  // an error where a uniform 64-bit word is below this
  bool always_ = false;          // p >= 1
};

}  // namespace mtd::sweep
