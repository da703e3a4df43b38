#include "core/Passes.h"
#include "core/Sse2.h"

namespace mtd {

namespace {

// The silent pass keeps the generator's words in a register and jumps stepsPerBit steps at once.
template <typename Write>
std::int32_t drawSilently(Simulation& sim, Write write) {
  const SimParams& p = sim.params;
  sim.noiseJump.prepare(p.stepsPerBit);
  const NoiseJump& jump = sim.noiseJump;
  std::uint64_t state = NoiseJump::pack(sim.generator.saveState());
  std::int32_t errors = 0;
  for (std::int32_t i = 0; i < p.nbl; ++i) {
    const std::int32_t sample =
        static_cast<std::int32_t>(state >> 32) & NoiseGenerator::SAMPLE_MASK;
    state = jump.apply(state);
    const Bit e = p.noiseThreshold >= sample ? 1 : 0;
    write(i, e);
    errors += e;
  }
  sim.generator.restoreState(NoiseJump::unpack(state));
  return errors;
}

}  // namespace

void generateInfoNoise(Simulation& sim, AnimationHooks* hooks) {
  BlockState& rows = sim.rows;
  std::int32_t* counts = sim.blockTally.counts.data();
  if (hooks == nullptr) {
    const std::int32_t errors = drawSilently(sim, [&rows](std::int32_t i, Bit e) {
      rows.infoErrors[i] = e;
      rows.difference[i] = 0;
    });
    counts[SLOT_BITS] += sim.params.nbl;
    counts[SLOT_INFO_ERRORS] += errors;
    return;
  }
  // Animated: the parameters are read afresh at every position, since a Reset serviced by a
  // check reloads them in the middle of the pass.
  for (std::int32_t i = 0; i < sim.params.nbl; ++i) {
    const Bit e = static_cast<Bit>(
        sim.generator.drawErrorBit(sim.params.stepsPerBit, sim.params.noiseThreshold));
    counts[SLOT_BITS] += 1;
    rows.infoErrors[i] = e;
    rows.difference[i] = 0;
    counts[SLOT_INFO_ERRORS] += e;
    hooks->repaintCell(i, ROW_INFORMATION);
    if (hooks->stepCheck()) return;
  }
}

void generateCheckNoise(Simulation& sim, AnimationHooks* hooks) {
  BlockState& rows = sim.rows;
  std::int32_t* counts = sim.blockTally.counts.data();
  if (hooks == nullptr) {
    counts[SLOT_CHECK_ERRORS] += drawSilently(sim, [&rows](std::int32_t i, Bit e) {
      rows.syndrome[i] = e;
      rows.checkErrors[i] = e;
    });
    return;
  }
  for (std::int32_t i = 0; i < sim.params.nbl; ++i) {
    const Bit e = static_cast<Bit>(
        sim.generator.drawErrorBit(sim.params.stepsPerBit, sim.params.noiseThreshold));
    rows.syndrome[i] = e;
    rows.checkErrors[i] = e;
    counts[SLOT_CHECK_ERRORS] += e;
    hooks->repaintCell(i, ROW_SYNDROME);
    if (hooks->stepCheck()) return;
  }
}

std::int32_t countOnes(const Bit* row, std::int32_t count) {
  std::int32_t ones = 0;
  std::int32_t i = 0;
#ifdef MTD_HAVE_SSE2
  // Sums of absolute differences against zero add up sixteen bytes at a time.
  __m128i total = _mm_setzero_si128();
  for (; i + 16 <= count; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
    total = _mm_add_epi64(total, _mm_sad_epu8(bytes, _mm_setzero_si128()));
  }
  ones = _mm_cvtsi128_si32(total) + _mm_cvtsi128_si32(_mm_srli_si128(total, 8));
#endif
  for (; i < count; ++i) ones += row[i];
  return ones;
}

}  // namespace mtd
