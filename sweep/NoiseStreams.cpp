#include "sweep/NoiseStreams.h"

#include <Random123/philox.h>

namespace mtd::sweep {

StreamStates groupStreams(std::uint64_t seed, std::uint32_t pointIndex, std::int64_t group) {
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
  StreamStates s{};
  for (int i = 0; i < 4; ++i) {
    s.main[i] = words[i];
    s.tail[i] = words[4 + i];
  }
  // An all-zero state would stay zero; one odd word rules it out.
  s.main[3] |= 1;
  s.tail[3] |= 1;
  return s;
}

}  // namespace mtd::sweep
