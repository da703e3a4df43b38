#pragma once

#include <cstdint>

namespace mtd::sweep {

// Each group of 64 frames draws from two xoshiro256** streams whose states come from Philox
// keyed by (seed, point, group): a counter-based start, so any group can be drawn first, and a
// fast stream within the group. The main stream decides the leading bits of every comparison;
// the tail stream settles the rare lanes those bits leave undecided.
struct StreamStates {
  std::uint64_t main[4];
  std::uint64_t tail[4];
};

StreamStates groupStreams(std::uint64_t seed, std::uint32_t pointIndex, std::int64_t group);

}  // namespace mtd::sweep
