// Sound noise for four groups at once in AVX2 words. This file alone is compiled for AVX2 and
// is built only with the vector paths; the lane-path table offers it where the processor has it.
#include <immintrin.h>

#include <cstdint>

#include "sweep/NoisePaths.h"

namespace mtd::sweep::avx2_noise {

typedef std::uint64_t Word __attribute__((vector_size(32), may_alias));

struct VectorOps {
  static constexpr int G = 4;
  template <int K>
  static Word rotl(Word x) {
    return (x << K) | (x >> (64 - K));
  }
  static bool any(Word x) {
    const auto v = reinterpret_cast<__m256i>(x);
    return !_mm256_testz_si256(v, v);
  }
};

}  // namespace mtd::sweep::avx2_noise

#define MTD_NOISE_NAMESPACE avx2_noise
#include "sweep/NoiseVectorKernel.h"

namespace mtd::sweep {

void fillGroupsAvx2(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                    std::uint64_t* out, int stride) {
  avx2_noise::fillVectorGroups<avx2_noise::Word, 2>(streams, threshold, positions, out, stride);
}

}  // namespace mtd::sweep
