// The bit-sliced decoder, included by one source file per instruction set. That file defines
// MTD_KERNEL_NAMESPACE and a `Lanes` traits type for its word W before including this header:
//   static constexpr int GROUPS;               64-bit words per W
//   static bool any(W);                        some bit set
//   static std::uint64_t part(W, int i);       64-bit word i of W
//   static W fromParts(const std::uint64_t*);  W from GROUPS words
//   static W xor3(W, W, W);                    a ^ b ^ c
//   static W majority(W, W, W);                at least two of three set
//   static W orAnd(W a, W b, W c);             a | (b & c)
//   static W select(W m, W a, W b);            a where m is set, b elsewhere
// (the last four are single ternary-logic instructions on AVX-512).
// Every lane is one frame; all lanes visit positions in the same order, so a flip mask per
// position applies the decoder's rule to every frame at once.
//
// The including files are compiled for different instruction sets, so this header calls no
// standard library function: an out-of-line copy of one, built for AVX2, could otherwise be
// the one the linker keeps for every caller. Compiler builtins and local helpers only.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "core/DecoderRules.h"
#include "core/Limits.h"
#include "sweep/BitSliceJob.h"

namespace mtd::sweep::MTD_KERNEL_NAMESPACE {

// Information errors per frame stay below 2^12.
constexpr int COUNT_BITS = 12;

template <typename T>
constexpr T clampTo(T value, T low, T high) {
  return value < low ? low : value > high ? high : value;
}

// The 4-bit sum of N one-bit inputs per lane (N <= 15), by full adders into the ones column
// and carries rippled into the higher ones.
template <typename W>
inline void fullAdd(W a, W b, W c, W& sum, W& carry) {
  sum = Lanes::xor3(a, b, c);
  carry = Lanes::majority(a, b, c);
}

// Eleven inputs, the default code's: a tree of seven full adders and one half adder.
template <typename W>
inline void countEleven(const W* x, W& b0, W& b1, W& b2, W& b3) {
  W sa, ca, sb, cb, sc, cc, sd, cd, ce;
  fullAdd(x[0], x[1], x[2], sa, ca);
  fullAdd(x[3], x[4], x[5], sb, cb);
  fullAdd(x[6], x[7], x[8], sc, cc);
  fullAdd(x[9], x[10], sa, sd, cd);
  fullAdd(sb, sc, sd, b0, ce);
  W t, f1, f2;
  fullAdd(ca, cb, cc, t, f1);
  fullAdd(cd, ce, t, b1, f2);
  b2 = f1 ^ f2;
  b3 = f1 & f2;
}

template <typename W, int N>
inline void countInputs(const W* x, W& b0, W& b1, W& b2, W& b3) {
  if constexpr (N == 11) {
    countEleven(x, b0, b1, b2, b3);
    return;
  }
  b0 = x[0];
  b1 = b2 = b3 = W{};
  int i = 1;
  for (; i + 1 < N; i += 2) {
    W carry;
    fullAdd(b0, x[i], x[i + 1], b0, carry);
    const W c4 = b1 & carry;
    b1 ^= carry;
    const W c8 = b2 & c4;
    b2 ^= c4;
    b3 |= c8;
  }
  if (i < N) {
    const W c2 = b0 & x[i];
    b0 ^= x[i];
    const W c4 = b1 & c2;
    b1 ^= c2;
    const W c8 = b2 & c4;
    b2 ^= c4;
    b3 |= c8;
  }
}

// The lanes whose sum exceeds a threshold known only at run time (any value from -1 up).
template <typename W>
struct RuntimeLimit {
  W bit[4];
  W notBit[4];
  bool flipAll;
  explicit RuntimeLimit(std::int32_t value) : flipAll(value < 0) {
    for (int b = 0; b < 4; ++b) {
      bit[b] = (value >= 0 && ((value >> b) & 1)) ? ~W{} : W{};
      notBit[b] = ~bit[b];
    }
  }
  W exceeded(W b0, W b1, W b2, W b3) const {
    if (flipAll) return ~W{};
    W gt = b3 & notBit[3];
    W eq = ~(b3 ^ bit[3]);
    gt = Lanes::orAnd(gt, eq, b2 & notBit[2]);
    eq &= ~(b2 ^ bit[2]);
    gt = Lanes::orAnd(gt, eq, b1 & notBit[1]);
    eq &= ~(b1 ^ bit[1]);
    gt = Lanes::orAnd(gt, eq, b0 & notBit[0]);
    return gt;
  }
};

// The same for a threshold fixed at compile time (0..14): a few instructions.
template <typename W, int T>
struct FixedLimit {
  W exceeded(W b0, W b1, W b2, W b3) const {
    const W b[4] = {b0, b1, b2, b3};
    W gt = W{};
    W eq = ~W{};
    for (int q = 3; q >= 0; --q) {
      if ((T >> q) & 1) {
        eq &= b[q];
      } else {
        gt = Lanes::orAnd(gt, eq, b[q]);
        eq &= ~b[q];
      }
    }
    return gt;
  }
};

// One sweep over every position. N inputs: the difference bit and N - 1 taps.
template <typename W, int N, bool DISTINCT, typename Limit>
void sweepPositions(const RunPlan& plan, W* __restrict diff, W* __restrict syn, W active,
                    const Limit& limit) {
  for (int r = 0; r < plan.count; ++r) {
    const PositionRun& run = plan.runs[r];
    std::int32_t offsets[N];
    for (int j = 0; j + 1 < N; ++j) offsets[j] = run.offsets[j];
    for (std::int32_t f = run.begin; f < run.end; ++f) {
      W in[N];
      in[0] = diff[f];
      for (int j = 1; j < N; ++j) in[j] = syn[f + offsets[j - 1]];
      W b0, b1, b2, b3;
      countInputs<W, N>(in, b0, b1, b2, b3);
      const W flip = limit.exceeded(b0, b1, b2, b3) & active;
      diff[f] = in[0] ^ flip;
      if constexpr (DISTINCT) {
        for (int j = 1; j < N; ++j) syn[f + offsets[j - 1]] = in[j] ^ flip;
      } else {
        // Two taps at one position toggle it twice: go through memory.
        for (int j = 1; j < N; ++j) syn[f + offsets[j - 1]] ^= flip;
      }
    }
  }
}

template <typename W, int N, typename Limit>
void sweepWithLimit(const RunPlan& plan, W* diff, W* syn, W active, const Limit& limit) {
  if (plan.distinctTaps) {
    sweepPositions<W, N, true>(plan, diff, syn, active, limit);
  } else {
    sweepPositions<W, N, false>(plan, diff, syn, active, limit);
  }
}

// The default code's eleven inputs get the threshold compiled in; other codes read it.
template <typename W, int N>
void sweepDispatchDistinct(const RunPlan& plan, W* diff, W* syn, W active, std::int32_t threshold) {
  if constexpr (N == 11) {
    switch (threshold) {
      case 0:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 0>{});
      case 1:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 1>{});
      case 2:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 2>{});
      case 3:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 3>{});
      case 4:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 4>{});
      case 5:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 5>{});
      case 6:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 6>{});
      case 7:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 7>{});
      case 8:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 8>{});
      case 9:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 9>{});
      case 10:
        return sweepWithLimit<W, N>(plan, diff, syn, active, FixedLimit<W, 10>{});
      default:
        break;
    }
  }
  sweepWithLimit<W, N>(plan, diff, syn, active, RuntimeLimit<W>(threshold));
}

// Calls body(std::integral_constant<int, N>) for the sweep's N inputs (the difference bit and
// the taps), so that the tap loops are unrolled for every code.
template <typename Body>
void withInputCount(std::int32_t tapCount, Body body) {
  switch (tapCount + 1) {
    case 1:
      return body(std::integral_constant<int, 1>{});
    case 2:
      return body(std::integral_constant<int, 2>{});
    case 3:
      return body(std::integral_constant<int, 3>{});
    case 4:
      return body(std::integral_constant<int, 4>{});
    case 5:
      return body(std::integral_constant<int, 5>{});
    case 6:
      return body(std::integral_constant<int, 6>{});
    case 7:
      return body(std::integral_constant<int, 7>{});
    case 8:
      return body(std::integral_constant<int, 8>{});
    case 9:
      return body(std::integral_constant<int, 9>{});
    case 10:
      return body(std::integral_constant<int, 10>{});
    default:
      return body(std::integral_constant<int, 11>{});
  }
}

// One sweep of every lane with one threshold.
template <typename W>
void sweep(const RunPlan& plan, W* diff, W* syn, W active, std::int32_t threshold) {
  withInputCount(plan.tapCount, [&](auto n) {
    sweepDispatchDistinct<W, decltype(n)::value>(plan, diff, syn, active, threshold);
  });
}

// The threshold of iteration k, clamped to what a 4-bit sum can be compared with.
inline std::int32_t iterationThreshold(const SweepCode& code, std::int32_t k) {
  return static_cast<std::int32_t>(
      clampTo<std::int64_t>(std::int64_t{code.params.ktrh[k + 1]} + rules::THRESHOLD_BASE, -1, 15));
}

// Per-lane counts of the information errors left, as COUNT_BITS bit planes.
template <typename W>
struct LaneCounts {
  W plane[COUNT_BITS];
  static_assert(BLOCK_CAPACITY < (1 << COUNT_BITS));

  // Blocks of words are summed into 4-bit counts by full adders, then added to the planes:
  // no branch per word.
  // info's rows lie `stride` words apart (the drawn noise of several lane words).
  void count(const W* info, const W* diff, std::int32_t nbl, std::size_t stride = 1) {
    for (W& p : plane) p = W{};
    constexpr int BLOCK = 15;
    std::int32_t i = 0;
    for (; i + BLOCK <= nbl; i += BLOCK) {
      W x[BLOCK];
      for (int q = 0; q < BLOCK; ++q) {
        const W bits = info[(i + q) * stride];
        x[q] = diff ? bits ^ diff[i + q] : bits;
      }
      W b[4];
      countInputs<W, BLOCK>(x, b[0], b[1], b[2], b[3]);
      add(b);
    }
    for (; i < nbl; ++i) {
      const W bits = info[i * stride];
      W b[4] = {diff ? bits ^ diff[i] : bits, W{}, W{}, W{}};
      add(b);
    }
  }
  void add(const W (&b)[4]) {
    W carry = W{};
    for (int q = 0; q < 4; ++q) {
      const W next = Lanes::majority(plane[q], b[q], carry);
      plane[q] = Lanes::xor3(plane[q], b[q], carry);
      carry = next;
    }
    for (int q = 4; q < COUNT_BITS; ++q) {
      const W next = plane[q] & carry;
      plane[q] ^= carry;
      carry = next;
    }
  }
  W nonZero() const {
    W any = W{};
    for (const W& p : plane) any |= p;
    return any;
  }
  W equal(const LaneCounts& o) const {
    W differ = W{};
    for (int b = 0; b < COUNT_BITS; ++b) differ |= plane[b] ^ o.plane[b];
    return ~differ;
  }
  std::int64_t total(W lanes = ~W{}) const {
    std::int64_t sum = 0;
    for (int b = 0; b < COUNT_BITS; ++b) sum += popcount(plane[b] & lanes) << b;
    return sum;
  }
  std::int32_t lane(int l) const {
    std::int32_t v = 0;
    for (int b = 0; b < COUNT_BITS; ++b) {
      v |= static_cast<std::int32_t>((Lanes::part(plane[b], l / 64) >> (l % 64)) & 1) << b;
    }
    return v;
  }
  static std::int64_t popcount(W w) {
    std::int64_t n = 0;
    for (int i = 0; i < Lanes::GROUPS; ++i) n += __builtin_popcountll(Lanes::part(w, i));
    return n;
  }
};

template <typename W>
W laneMask(int validLanes) {
  std::uint64_t parts[Lanes::GROUPS];
  for (int i = 0; i < Lanes::GROUPS; ++i) {
    const int lanes = clampTo(validLanes - 64 * i, 0, 64);
    parts[i] = lanes == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << lanes) - 1;
  }
  return Lanes::fromParts(parts);
}

// Records the sweeps of lanes that stop now.
template <typename W>
void recordStops(W stopped, std::int32_t sweeps, FrameOutcome* perLane) {
  if (perLane == nullptr) return;
  for (int i = 0; i < Lanes::GROUPS; ++i) {
    for (std::uint64_t bits = Lanes::part(stopped, i); bits != 0; bits &= bits - 1) {
      perLane[64 * i + __builtin_ctzll(bits)].iterations = sweeps;
    }
  }
}

// The check rows become syndromes. Rows hold `width` lane words side by side (several slices
// of drawn noise at once).
template <typename W>
void formSyndrome(const SweepCode& code, const W* info, W* syn, std::size_t width = 1) {
  const std::int32_t nbl = code.nbl();
  auto add = [&](std::int32_t to, std::int32_t from) {
    for (std::size_t k = 0; k < width; ++k) syn[to * width + k] ^= info[from * width + k];
  };
  for (std::int32_t j = 0; j < code.tapCount(); ++j) {
    const std::int32_t tap = code.tap(j);
    for (std::int32_t i = 0; i + tap < nbl; ++i) add(i + tap, i);
    for (std::int32_t i = clampTo(nbl - tap, 0, nbl); i < nbl; ++i) add(i + tap - nbl, i);
  }
}

template <typename W>
BatchTally decodeChunk(const BitSliceJob& job) {
  const SweepCode& code = *job.code;
  const std::int32_t nbl = code.nbl();
  W* info = reinterpret_cast<W*>(job.rows);
  W* syn = info + nbl;
  W* diff = reinterpret_cast<W*>(job.difference);
  const W valid = laneMask<W>(job.validLanes);

  LaneCounts<W> previous;
  previous.count(info, nullptr, nbl);
  BatchTally tally;
  tally.frames = job.validLanes;
  tally.infoBits = std::int64_t{job.validLanes} * nbl;
  tally.channelInfoErrors = previous.total();
  if (job.perLane) {
    for (int l = 0; l < job.validLanes; ++l) {
      job.perLane[l] = FrameOutcome{previous.lane(l), previous.lane(l), 0};
    }
  }
  const std::int32_t iterations = code.iterations();
  if (iterations <= 0) {
    tally.decodedInfoErrors = tally.channelInfoErrors;
    tally.frameErrors = LaneCounts<W>::popcount(previous.nonZero() & valid);
    return tally;
  }

  formSyndrome(code, info, syn);
  for (std::int32_t i = 0; i < nbl; ++i) diff[i] = W{};
  W active = valid;
  LaneCounts<W> current;
  for (std::int32_t k = 0; k < iterations && Lanes::any(active); ++k) {
    const std::int32_t threshold = iterationThreshold(code, k);
    // A sum exceeds nothing above the number of inputs: such a sweep flips nothing.
    if (threshold < code.tapCount() + 1) sweep<W>(*job.plan, diff, syn, active, threshold);
    current.count(info, diff, nbl);
    W stop = ~current.nonZero();
    if (k >= rules::FIRST_NO_CHANGE_ITERATION) stop |= current.equal(previous);
    stop &= active;
    tally.iterations += LaneCounts<W>::popcount(stop) * (k + 1);
    recordStops(stop, k + 1, job.perLane);
    active &= ~stop;
    previous = current;
  }
  tally.iterations += LaneCounts<W>::popcount(active) * iterations;
  recordStops(active, iterations, job.perLane);

  // The count after the last sweep; lanes that stopped earlier were flipped no more since.
  tally.decodedInfoErrors = previous.total();
  tally.frameErrors = LaneCounts<W>::popcount(previous.nonZero() & valid);
  if (job.perLane) {
    for (int l = 0; l < job.validLanes; ++l) job.perLane[l].infoErrorsLeft = previous.lane(l);
  }
  return tally;
}

}  // namespace mtd::sweep::MTD_KERNEL_NAMESPACE
