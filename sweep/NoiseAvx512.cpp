// Sound noise for eight groups at once in AVX-512 words, with native rotates (vprolq). This file
// alone is compiled for AVX-512 and is built only with the vector paths; the lane-path table offers
// it where the processor has AVX-512 F, BW, DQ and VL.
#include <immintrin.h>

#include <cstdint>

#include "sweep/NoisePaths.h"

namespace mtd::sweep::avx512_noise {

typedef std::uint64_t Word __attribute__((vector_size(64), may_alias));

struct VectorOps {
  static constexpr int G = 8;
  // GCC makes this one vprolq; its intrinsic reads an undefined vector that GCC 12 warns of.
  template <int K>
  static Word rotl(Word x) {
    return (x << K) | (x >> (64 - K));
  }
  static bool any(Word x) {
    const auto v = reinterpret_cast<__m512i>(x);
    return _mm512_test_epi64_mask(v, v) != 0;
  }
};

}  // namespace mtd::sweep::avx512_noise

#define MTD_NOISE_NAMESPACE avx512_noise
#include "sweep/NoiseVectorKernel.h"

namespace mtd::sweep {

void fillGroupsAvx512(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                      std::uint64_t* out, int stride) {
  avx512_noise::fillVectorGroups<avx512_noise::Word, 2>(streams, threshold, positions, out, stride);
}

}  // namespace mtd::sweep
