// The bit-sliced decoder on plain 64-bit words: 64 frames at once on any processor.
#include <cstdint>

namespace mtd::sweep::portable {

struct Lanes {
  using W = std::uint64_t;
  static constexpr int GROUPS = 1;
  static bool any(W w) { return w != 0; }
  static W part(W w, int) { return w; }
  static W fromParts(const std::uint64_t* parts) { return parts[0]; }
  static W xor3(W a, W b, W c) { return a ^ b ^ c; }
  static W majority(W a, W b, W c) { return (a & b) | ((a ^ b) & c); }
  static W orAnd(W a, W b, W c) { return a | (b & c); }
  static W select(W m, W a, W b) { return b ^ ((a ^ b) & m); }  // a where m, else b
};

}  // namespace mtd::sweep::portable

#define MTD_KERNEL_NAMESPACE portable
#include "sweep/BitSliceRefill.h"

namespace mtd::sweep {

BatchTally decodeChunkPortable(const BitSliceJob& job) {
  return portable::decodeChunk<std::uint64_t>(job);
}

BatchTally decodeRefillPortable(const RefillJob& job) {
  return portable::decodeRefill<std::uint64_t>(job);
}

}  // namespace mtd::sweep
