#include <algorithm>
#include <array>
#include <bit>

#include "core/CodeTaps.h"
#include "core/Passes.h"
#include "core/Sse2.h"
#include "core/StopRule.h"
#include "core/WrappingAdd.h"

namespace mtd {

namespace {

// End of the sweep of iteration k: tally what is left and apply the stop rule. Returns whether
// the decoding stops.
bool endSweep(Simulation& sim, std::int32_t k, bool animate) {
  const std::int32_t nbl = sim.params.nbl;
  ErrorTally& t = sim.blockTally;
  const int slot = iterationSlot(k);
  t.counts[slot] += countOnes(sim.rows.infoErrors.data(), nbl);
  t.weights[slot] += countOnes(sim.rows.syndrome.data(), nbl);
  sim.decoder.finalInfoErrors = t.counts[slot];
  sim.decoder.finalSyndromeWeight = t.weights[slot];
  if (iterationEnd(t, k) == IterationEnd::GoOn) return false;
  if (animate) {
    // The iterations not run show the final count; their weights stay 0.
    for (int later = slot + 1; later < TALLY_SLOTS; ++later) t.counts[later] += t.counts[slot];
  }
  sim.decoder.lastIteration = k;
  return true;
}

// ---- silent decoding ------------------------------------------------------------------------

// Check sums are formed for a chunk of consecutive positions at once. The syndrome row is
// mirrored at nbl..2nbl-1 so that a position plus a tap (at most nbl) needs no wrap. A flip
// changes the syndrome that later positions read, so after a flip the chunk starts again just
// after the flipped position: the decisions are exactly those of the one-by-one sweep.
constexpr std::int32_t CHUNK = 32;
// A chunk read from the last position, and from the last position plus a tap of nbl in the
// mirrored syndrome, stays inside the rows.
static_assert(CHUNK - 1 <= ROW_PADDING);
static_assert(std::tuple_size_v<decltype(BlockState::difference)> >= BLOCK_CAPACITY + CHUNK - 1);
static_assert(std::tuple_size_v<decltype(BlockState::syndrome)> >=
              2 * BLOCK_CAPACITY - 1 + CHUNK - 1);

// Bit q set where sums[q] > threshold (threshold in -1..255).
std::uint32_t aboveThreshold(const std::array<Bit, CHUNK>& sums, std::int32_t threshold) {
  if (threshold < 0) return ~std::uint32_t{0};
#ifdef MTD_HAVE_SSE2
  // Sums are at most 12, so a signed byte comparison is exact once the threshold is capped.
  const __m128i limit = _mm_set1_epi8(static_cast<char>(std::min(threshold, 127)));
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums.data()));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums.data() + 16));
  const auto lowMask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(low, limit)));
  const auto highMask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(high, limit)));
  return lowMask | (highMask << 16);
#else
  std::uint32_t mask = 0;
  for (std::int32_t q = 0; q < CHUNK; ++q) {
    mask |= static_cast<std::uint32_t>(sums[q] > threshold) << q;
  }
  return mask;
#endif
}

struct SilentSweep {
  Simulation& sim;
  std::int32_t nbl;
  std::int32_t ndn;
  std::int32_t tapCount;
  std::array<std::int32_t, MAX_NDN_USED> taps{};

  explicit SilentSweep(Simulation& s) : sim(s), nbl(s.params.nbl), ndn(s.params.ndn) {
    tapCount = codeTapCount(s.params);
    for (std::int32_t j = 0; j < tapCount; ++j) taps[j] = s.params.kfp[j + 1];
    Bit* syn = s.rows.syndrome.data();
    std::copy(syn, syn + nbl, syn + nbl);
  }

  void flip(std::int32_t f, std::int32_t sum) {
    BlockState& rows = sim.rows;
    rows.infoErrors[f] ^= 1;
    rows.difference[f] ^= 1;
    // Only a shown block resets the distance, so millions of silent blocks in a row would
    // overflow it; nothing reads the silent value, and wrapping keeps it defined.
    sim.decoder.currentDistance = wrappingAdd(sim.decoder.currentDistance, ndn - 2 * sum);
    Bit* syn = rows.syndrome.data();
    for (std::int32_t j = 0; j < tapCount; ++j) {
      const std::int32_t pos = tapPosition(f, taps[j], nbl);
      syn[pos] ^= 1;
      syn[pos + nbl] ^= 1;
    }
  }

  // sums[q] = difference[f+q] + the syndrome bits at f+q plus each tap.
  void chunkSums(const Bit* diff, const Bit* syn, std::array<Bit, CHUNK>& sums) const {
#ifdef MTD_HAVE_SSE2
    auto load = [](const Bit* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    __m128i low = load(diff);
    __m128i high = load(diff + 16);
    for (std::int32_t j = 0; j < tapCount; ++j) {
      low = _mm_add_epi8(low, load(syn + taps[j]));
      high = _mm_add_epi8(high, load(syn + taps[j] + 16));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums.data()), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums.data() + 16), high);
#else
    for (std::int32_t q = 0; q < CHUNK; ++q) sums[q] = diff[q];
    for (std::int32_t j = 0; j < tapCount; ++j) {
      for (std::int32_t q = 0; q < CHUNK; ++q) sums[q] += syn[taps[j] + q];
    }
#endif
  }

  // Positions from..to-1 in increasing order.
  void sweepRange(std::int32_t from, std::int32_t to, std::int32_t threshold) {
    const Bit* syn = sim.rows.syndrome.data();
    const Bit* diff = sim.rows.difference.data();
    std::int32_t f = from;
    while (f < to) {
      std::array<Bit, CHUNK> sums;
      chunkSums(diff + f, syn + f, sums);
      const std::int32_t length = std::min(CHUNK, to - f);
      std::uint32_t mask = aboveThreshold(sums, threshold);
      if (length < CHUNK) mask &= (std::uint32_t{1} << length) - 1;
      if (mask == 0) {
        f += length;
        continue;
      }
      const std::int32_t q = std::countr_zero(mask);
      flip(f + q, sums[q]);
      f += q + 1;
    }
  }

  void sweep(std::int32_t k) {
    // Sums lie in 0..ndn, so a threshold clamped to -1..255 decides the same.
    const std::int32_t threshold =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(flipThreshold(sim.params, k), -1, 255));
    std::int32_t first = sim.params.decodeCursor + 1;
    if (first >= nbl) first = 0;
    sweepRange(first, nbl, threshold);
    sweepRange(0, first, threshold);
    sim.params.decodeCursor = first == 0 ? nbl - 1 : first - 1;
  }
};

void decodeSilently(Simulation& sim) {
  const std::int32_t iterations = sim.params.ktrh[0];
  if (iterations <= 0) return;
  SilentSweep sweeper(sim);
  for (std::int32_t k = 0; k < iterations; ++k) {
    sweeper.sweep(k);
    if (endSweep(sim, k, false)) return;
  }
}

// ---- animated decoding ----------------------------------------------------------------------

// One position step of the animated sweep, read from the parameters afresh: a Reset serviced
// by the previous step's check may have reloaded them.
void animatedStep(Simulation& sim, AnimationHooks& hooks, std::int32_t k) {
  SimParams& p = sim.params;
  BlockState& rows = sim.rows;
  std::int32_t f = p.decodeCursor + 1;
  if (f >= p.nbl) f = 0;
  p.decodeCursor = f;

  const std::int32_t sum = rows.difference[f] + syndromeAtChecks(p, rows, f);
  if (sum > flipThreshold(p, k)) {
    rows.infoErrors[f] ^= 1;
    rows.difference[f] ^= 1;
    sim.decoder.currentDistance = wrappingAdd(sim.decoder.currentDistance, p.ndn - 2 * sum);
    hooks.drawDistanceLine(sim.decoder.currentDistance);
    // The same checks that were summed: drawing the line changes no parameter.
    for (std::int32_t j = 1; j <= codeTapCount(p); ++j) {
      rows.syndrome[tapPosition(f, p.kfp[j], p.nbl)] ^= 1;
    }
  }
  hooks.paintDecodeStep(f);
}

// Returns false when a check stopped the decoding.
bool decodeAnimated(Simulation& sim, AnimationHooks& hooks) {
  hooks.drawBlockHeader();
  if (sim.params.ktrh[0] <= 0) return true;
  for (std::int32_t k = 0;;) {
    hooks.drawIterationLine(k);
    for (std::int32_t step = 0; step < sim.params.nbl; ++step) {
      animatedStep(sim, hooks, k);
      if (hooks.decodeStepCheck()) return false;
    }
    if (endSweep(sim, k, true)) return true;
    if (++k >= sim.params.ktrh[0]) return true;
  }
}

}  // namespace

void decodeBlock(Simulation& sim, AnimationHooks* hooks) {
  if (hooks == nullptr) {
    decodeSilently(sim);
    return;
  }
  if (decodeAnimated(sim, *hooks)) sim.addBlockToTotals();
}

}  // namespace mtd
