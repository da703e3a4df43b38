// The bit-sliced decoder on 512-bit AVX-512 words: 512 frames at once. Every full adder is two
// ternary-logic instructions and the comparator's and-or one. This file alone is compiled for
// AVX-512 and is built only with the vector paths; the lane-path table offers it where the
// processor has AVX-512 F, BW, DQ and VL.
#include <immintrin.h>

#include <cstdint>

namespace mtd::sweep::avx512 {

typedef std::uint64_t Word __attribute__((vector_size(64), may_alias));

struct Lanes {
  using W = Word;
  static constexpr int GROUPS = 8;
  static __m512i v(W w) { return reinterpret_cast<__m512i>(w); }
  static W w(__m512i v) { return reinterpret_cast<W>(v); }
  static bool any(W x) { return _mm512_test_epi64_mask(v(x), v(x)) != 0; }
  static std::uint64_t part(W x, int i) { return x[i]; }
  static W fromParts(const std::uint64_t* parts) {
    return w(_mm512_loadu_si512(static_cast<const void*>(parts)));
  }
  // The truth tables of f(a, b, c), indexed by a b c as bits 2 1 0 of the input.
  static W xor3(W a, W b, W c) { return w(_mm512_ternarylogic_epi64(v(a), v(b), v(c), 0x96)); }
  static W majority(W a, W b, W c) { return w(_mm512_ternarylogic_epi64(v(a), v(b), v(c), 0xE8)); }
  static W orAnd(W a, W b, W c) { return w(_mm512_ternarylogic_epi64(v(a), v(b), v(c), 0xF8)); }
  static W select(W m, W a, W b) { return w(_mm512_ternarylogic_epi64(v(m), v(a), v(b), 0xCA)); }
};

}  // namespace mtd::sweep::avx512

#define MTD_KERNEL_NAMESPACE avx512
#include "sweep/BitSliceRefill.h"

namespace mtd::sweep {

BatchTally decodeChunkAvx512(const BitSliceJob& job) {
  return avx512::decodeChunk<avx512::Word>(job);
}

BatchTally decodeRefillAvx512(const RefillJob& job) {
  return avx512::decodeRefill<avx512::Word>(job);
}

}  // namespace mtd::sweep
