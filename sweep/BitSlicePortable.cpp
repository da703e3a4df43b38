// The bit-sliced decoder on plain 64-bit words: 64 frames at once on any processor.
#include <cstdint>

namespace mtd::sweep::portable {

struct Lanes {
  static constexpr int GROUPS = 1;
  static bool any(std::uint64_t w) { return w != 0; }
  static std::uint64_t part(std::uint64_t w, int) { return w; }
  static std::uint64_t fromParts(const std::uint64_t* parts) { return parts[0]; }
};

}  // namespace mtd::sweep::portable

#define MTD_KERNEL_NAMESPACE portable
#include "sweep/BitSliceKernel.h"

namespace mtd::sweep {

BatchTally decodeChunkPortable(const BitSliceJob& job) {
  return portable::decodeChunk<std::uint64_t>(job);
}

}  // namespace mtd::sweep
