#pragma once

#include <Random123/philox.h>

#include <cstdint>

namespace mtd::sweep {

// Each group of 64 frames draws from two xoshiro256** streams whose states come from Philox
// keyed by (seed, point, group): a counter-based start, so any group can be drawn first, and a
// fast stream within the group. The main stream decides the leading bits of every comparison;
// the tail stream settles the rare lanes those bits leave undecided.
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

struct GroupStreams {
  Xoshiro256 main;
  Xoshiro256 tail;
};

inline GroupStreams groupStreams(std::uint64_t seed, std::uint32_t pointIndex, std::int64_t group) {
  using Philox = r123::Philox4x32;
  const Philox::key_type key = {
      {static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)}};
  const auto g = static_cast<std::uint64_t>(group);
  // Four Philox blocks: two for each stream's 256-bit state.
  std::uint64_t words[8];
  for (std::uint32_t block = 0; block < 4; ++block) {
    const Philox::ctr_type ctr = {
        {static_cast<std::uint32_t>(g), static_cast<std::uint32_t>(g >> 32), pointIndex, block}};
    const Philox::ctr_type out = Philox()(ctr, key);
    words[2 * block] = std::uint64_t{out.v[0]} | (std::uint64_t{out.v[1]} << 32);
    words[2 * block + 1] = std::uint64_t{out.v[2]} | (std::uint64_t{out.v[3]} << 32);
  }
  GroupStreams s{};
  for (int i = 0; i < 4; ++i) {
    s.main.s[i] = words[i];
    s.tail.s[i] = words[4 + i];
  }
  // An all-zero state would stay zero; one odd word rules it out.
  s.main.s[3] |= 1;
  s.tail.s[3] |= 1;
  return s;
}

}  // namespace mtd::sweep
