// Sound noise for CHAINS * G groups at once: G groups' main streams run side by side in the
// 64-bit lanes of one vector word, each exactly as the portable code runs it alone, and CHAINS
// such words step independently, so that one step's latency hides behind another's. Included by one
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

template <typename W, int CHAINS>
void fillVectorGroups(const StreamStates* streams, std::uint64_t threshold, std::int32_t positions,
                      std::uint64_t* out, int stride) {
  constexpr int G = VectorOps::G;
  Xoshiro256 tails[CHAINS * G];
  XoshiroLanes<W> main[CHAINS];
  for (int c = 0; c < CHAINS; ++c) {
    for (int i = 0; i < G; ++i) {
      const StreamStates& s = streams[c * G + i];
      for (int w = 0; w < 4; ++w) tails[c * G + i].s[w] = s.tail[w];
      main[c].s0[i] = s.main[0];
      main[c].s1[i] = s.main[1];
      main[c].s2[i] = s.main[2];
      main[c].s3[i] = s.main[3];
    }
  }
  const std::uint64_t tailThreshold = threshold & TAIL_MASK;
  bool leadBit[LEAD_BITS];
  for (int j = 0; j < LEAD_BITS; ++j) leadBit[j] = (threshold >> (63 - j)) & 1;
  for (std::int32_t r = 0; r < positions; ++r) {
    // Every lane compares its uniform word with the threshold from the most significant bit;
    // a lane still equal after the leading bits is settled from its group's tail stream.
    W undecided[CHAINS];
    W errors[CHAINS];
    for (int c = 0; c < CHAINS; ++c) {
      undecided[c] = ~W{};
      errors[c] = W{};
    }
    for (int j = 0; j < LEAD_BITS; ++j) {
      for (int c = 0; c < CHAINS; ++c) {
        const W random = main[c].next();
        if (leadBit[j]) {
          errors[c] |= undecided[c] & ~random;
          undecided[c] &= random;
        } else {
          undecided[c] &= ~random;
        }
      }
    }
    for (int c = 0; c < CHAINS; ++c) {
      if (tailThreshold != 0 && VectorOps::any(undecided[c])) {
        for (int i = 0; i < G; ++i) {
          errors[c][i] |= settleTail(tails[c * G + i], undecided[c][i], tailThreshold);
        }
      }
      __builtin_memcpy(out + std::size_t(r) * stride + c * G, &errors[c], sizeof(W));
    }
  }
}

}  // namespace mtd::sweep::MTD_NOISE_NAMESPACE
