// Sound noise for G groups at once: the G groups' main streams run side by side in the 64-bit
// lanes of one vector word, each exactly as the portable code runs it alone. Included by one
// file per instruction set, after MTD_NOISE_NAMESPACE and a `VectorOps` type for its word W:
//   static constexpr int G;                 64-bit lanes of W
//   template <int K> static W rotl(W);      rotate every lane left by K
//   static bool any(W);                     some bit set
#include <cstdint>

#include "sweep/NoiseKernels.h"

namespace mtd::sweep::MTD_NOISE_NAMESPACE {

template <typename W>
struct XoshiroLanes {
  W s0, s1, s2, s3;

  W next() {
    const W times5 = (s1 << 2) + s1;
    const W rotated = VectorOps::template rotl<7>(times5);
    const W result = (rotated << 3) + rotated;
    const W t = s1 << 17;
    s2 ^= s0;
    s3 ^= s1;
    s1 ^= s2;
    s0 ^= s3;
    s2 ^= t;
    s3 = VectorOps::template rotl<45>(s3);
    return result;
  }
};

template <typename W>
void fillVectorGroups(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                      std::uint64_t* out, int stride) {
  constexpr int G = VectorOps::G;
  Xoshiro256 tails[G];
  XoshiroLanes<W> main;
  for (int i = 0; i < G; ++i) {
    for (int w = 0; w < 4; ++w) tails[i].s[w] = streams[i].tail[w];
    main.s0[i] = streams[i].main[0];
    main.s1[i] = streams[i].main[1];
    main.s2[i] = streams[i].main[2];
    main.s3[i] = streams[i].main[3];
  }
  const std::uint64_t tailThreshold = threshold & TAIL_MASK;
  bool leadBit[LEAD_BITS];
  for (int j = 0; j < LEAD_BITS; ++j) leadBit[j] = (threshold >> (63 - j)) & 1;
  const W ones = ~W{};
  for (std::int32_t r = 0; r < positions; ++r) {
    // Every lane compares its uniform word with the threshold from the most significant bit;
    // a lane still equal after the leading bits is settled from its group's tail stream.
    W undecided = ones;
    W errors = W{};
    for (int j = 0; j < LEAD_BITS; ++j) {
      const W random = main.next();
      if (leadBit[j]) {
        errors |= undecided & ~random;
        undecided &= random;
      } else {
        undecided &= ~random;
      }
    }
    if (tailThreshold != 0 && VectorOps::any(undecided)) {
      for (int i = 0; i < G; ++i) errors[i] |= settleTail(tails[i], undecided[i], tailThreshold);
    }
    __builtin_memcpy(out + std::size_t(r) * stride, &errors, sizeof errors);
  }
}

}  // namespace mtd::sweep::MTD_NOISE_NAMESPACE
