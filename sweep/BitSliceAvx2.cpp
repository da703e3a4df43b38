// The bit-sliced decoder on 256-bit AVX2 words: 256 frames at once. This file alone is
// compiled for AVX2; the engine calls it only where the processor has it.
#include <cstdint>

#include "sweep/BitSliceJob.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace mtd::sweep::avx2 {

typedef std::uint64_t Word __attribute__((vector_size(32), may_alias));

struct Lanes {
  static constexpr int GROUPS = 4;
  static bool any(Word w) {
    const auto v = reinterpret_cast<__m256i>(w);
    return !_mm256_testz_si256(v, v);
  }
  static std::uint64_t part(Word w, int i) { return w[i]; }
  static Word fromParts(const std::uint64_t* parts) {
    return Word{parts[0], parts[1], parts[2], parts[3]};
  }
};

}  // namespace mtd::sweep::avx2

#define MTD_KERNEL_NAMESPACE avx2
#include "sweep/BitSliceKernel.h"

namespace mtd::sweep {

BatchTally decodeChunkAvx2(const BitSliceJob& job) { return avx2::decodeChunk<avx2::Word>(job); }

}  // namespace mtd::sweep

#else

namespace mtd::sweep {

// Without AVX2 the engine never selects this path.
BatchTally decodeChunkAvx2(const BitSliceJob& job) { return decodeChunkPortable(job); }

}  // namespace mtd::sweep

#endif
