// What the sound noise's portable and vector files share. Each defines MTD_NOISE_NAMESPACE
// before including this header, so that none links another's copy, built for another
// instruction set; for the same reason no standard library function is called here.
#pragma once

#include <cstdint>

#include "sweep/NoiseStreams.h"

namespace mtd::sweep {

// The comparison of a lane's uniform word with the threshold takes this many leading bits from
// the main stream, every lane at once; the rest comes from the tail stream, lane by lane.
inline constexpr int LEAD_BITS = 12;
inline constexpr std::uint64_t TAIL_MASK = (std::uint64_t{1} << (64 - LEAD_BITS)) - 1;

namespace MTD_NOISE_NAMESPACE {

struct Xoshiro256 {
  std::uint64_t s[4];

  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t next() {
    const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotl(s[3], 45);
    return result;
  }
};

// Errors among the undecided lanes, in increasing lane order: one tail word each.
inline std::uint64_t settleTail(Xoshiro256& tail, std::uint64_t undecided,
                                std::uint64_t tailThreshold) {
  std::uint64_t errors = 0;
  while (undecided != 0) {
    const int lane = __builtin_ctzll(undecided);
    undecided &= undecided - 1;
    if ((tail.next() >> LEAD_BITS) < tailThreshold) errors |= std::uint64_t{1} << lane;
  }
  return errors;
}

}  // namespace MTD_NOISE_NAMESPACE

}  // namespace mtd::sweep
