// The bit-sliced decoder on 256-bit AVX2 words: 256 frames at once. This file alone is
// compiled for AVX2 and is built only with the vector paths; the lane-path table offers it
// where the processor has AVX2.
#include <immintrin.h>

#include <cstdint>

namespace mtd::sweep::avx2 {

typedef std::uint64_t Word __attribute__((vector_size(32), may_alias));

struct Lanes {
  using W = Word;
  static constexpr int GROUPS = 4;
  static bool any(W w) {
    const auto v = reinterpret_cast<__m256i>(w);
    return !_mm256_testz_si256(v, v);
  }
  static std::uint64_t part(W w, int i) { return w[i]; }
  static W fromParts(const std::uint64_t* parts) {
    return W{parts[0], parts[1], parts[2], parts[3]};
  }
  static W xor3(W a, W b, W c) { return a ^ b ^ c; }
  static W majority(W a, W b, W c) { return (a & b) | ((a ^ b) & c); }
  static W orAnd(W a, W b, W c) { return a | (b & c); }
  static W select(W m, W a, W b) { return b ^ ((a ^ b) & m); }  // a where m, else b
};

}  // namespace mtd::sweep::avx2

#define MTD_KERNEL_NAMESPACE avx2
#include "sweep/BitSliceRefill.h"

namespace mtd::sweep {

BatchTally decodeChunkAvx2(const BitSliceJob& job) { return avx2::decodeChunk<avx2::Word>(job); }

BatchTally decodeRefillAvx2(const RefillJob& job) { return avx2::decodeRefill<avx2::Word>(job); }

}  // namespace mtd::sweep
