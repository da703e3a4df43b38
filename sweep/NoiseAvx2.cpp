// Sound noise for four groups at once: the four groups' main streams run side by side in the
// 64-bit lanes of AVX2 words, each exactly as the portable code runs it alone. This file alone
// is compiled for AVX2; it is called only where the processor has it.
#define MTD_NOISE_NAMESPACE avx2_noise
#include "sweep/NoiseKernels.h"

#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace mtd::sweep {

#if defined(__AVX2__)

namespace {

typedef std::uint64_t Word4 __attribute__((vector_size(32), may_alias));

inline Word4 rotl(Word4 x, int k) { return (x << k) | (x >> (64 - k)); }

// Four xoshiro256** streams, one per 64-bit lane.
struct Xoshiro4 {
  Word4 s0, s1, s2, s3;

  Word4 next() {
    const Word4 times5 = (s1 << 2) + s1;
    const Word4 rotated = rotl(times5, 7);
    const Word4 result = (rotated << 3) + rotated;
    const Word4 t = s1 << 17;
    s2 ^= s0;
    s3 ^= s1;
    s1 ^= s2;
    s0 ^= s3;
    s2 ^= t;
    s3 = rotl(s3, 45);
    return result;
  }
};

}  // namespace

bool fillFourGroupsAvx2(const StreamStates (&streams)[4], std::uint64_t threshold,
                        std::int32_t positions, std::uint64_t* out, int stride) {
  if (!__builtin_cpu_supports("avx2") || !__builtin_cpu_supports("popcnt")) return false;
  avx2_noise::Xoshiro256 tails[4];
  for (int i = 0; i < 4; ++i) {
    for (int w = 0; w < 4; ++w) tails[i].s[w] = streams[i].tail[w];
  }
  Xoshiro4 main;
  main.s0 = Word4{streams[0].main[0], streams[1].main[0], streams[2].main[0], streams[3].main[0]};
  main.s1 = Word4{streams[0].main[1], streams[1].main[1], streams[2].main[1], streams[3].main[1]};
  main.s2 = Word4{streams[0].main[2], streams[1].main[2], streams[2].main[2], streams[3].main[2]};
  main.s3 = Word4{streams[0].main[3], streams[1].main[3], streams[2].main[3], streams[3].main[3]};
  const std::uint64_t tailThreshold = threshold & TAIL_MASK;
  bool leadBit[LEAD_BITS];
  for (int j = 0; j < LEAD_BITS; ++j) leadBit[j] = (threshold >> (63 - j)) & 1;
  const Word4 ones = ~Word4{};
  for (std::int32_t r = 0; r < positions; ++r) {
    Word4 undecided = ones;
    Word4 errors = Word4{};
    for (int j = 0; j < LEAD_BITS; ++j) {
      const Word4 random = main.next();
      if (leadBit[j]) {
        errors |= undecided & ~random;
        undecided &= random;
      } else {
        undecided &= ~random;
      }
    }
    const auto v = reinterpret_cast<__m256i>(undecided);
    if (tailThreshold != 0 && !_mm256_testz_si256(v, v)) {
      for (int i = 0; i < 4; ++i) {
        errors[i] |= avx2_noise::settleTail(tails[i], undecided[i], tailThreshold);
      }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + std::size_t(r) * stride),
                        reinterpret_cast<__m256i>(errors));
  }
  return true;
}

#else

bool fillFourGroupsAvx2(const StreamStates (&)[4], std::uint64_t, std::int32_t, std::uint64_t*,
                        int) {
  return false;
}

#endif

}  // namespace mtd::sweep
