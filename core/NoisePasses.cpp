#include "core/Passes.h"

namespace mtd {

namespace {

// The silent pass keeps the generator's words in registers for the whole block.
template <typename Write>
std::int32_t drawSilently(Simulation& sim, Write write) {
  const SimParams& p = sim.params;
  GeneratorState g = sim.generator.saveState();
  std::int32_t errors = 0;
  for (std::int32_t i = 0; i < p.nbl; ++i) {
    const std::int32_t sample = g.wordB & NoiseGenerator::SAMPLE_MASK;
    for (std::int32_t n = 0; n < p.stepsPerBit; ++n) g = NoiseGenerator::nextState(g);
    const Bit e = p.noiseThreshold >= sample ? 1 : 0;
    write(i, e);
    errors += e;
  }
  sim.generator.restoreState(g);
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
    counts[0] += sim.params.nbl;
    counts[1] += errors;
    return;
  }
  // Animated: the parameters are read afresh at every position, since a Reset serviced by a
  // check reloads them in the middle of the pass.
  for (std::int32_t i = 0; i < sim.params.nbl; ++i) {
    const Bit e =
        static_cast<Bit>(sim.generator.drawErrorBit(sim.params.stepsPerBit, sim.params.noiseThreshold));
    counts[0] += 1;
    rows.infoErrors[i] = e;
    rows.difference[i] = 0;
    counts[1] += e;
    hooks->repaintCell(i, ROW_INFORMATION);
    if (hooks->stepCheck()) return;
  }
}

void generateCheckNoise(Simulation& sim, AnimationHooks* hooks) {
  BlockState& rows = sim.rows;
  std::int32_t* counts = sim.blockTally.counts.data();
  if (hooks == nullptr) {
    counts[2] += drawSilently(sim, [&rows](std::int32_t i, Bit e) {
      rows.syndrome[i] = e;
      rows.checkErrors[i] = e;
    });
    return;
  }
  for (std::int32_t i = 0; i < sim.params.nbl; ++i) {
    const Bit e =
        static_cast<Bit>(sim.generator.drawErrorBit(sim.params.stepsPerBit, sim.params.noiseThreshold));
    rows.syndrome[i] = e;
    rows.checkErrors[i] = e;
    counts[2] += e;
    hooks->repaintCell(i, ROW_SYNDROME);
    if (hooks->stepCheck()) return;
  }
}

std::int32_t countOnes(const Bit* row, std::int32_t count) {
  std::int32_t ones = 0;
  for (std::int32_t i = 0; i < count; ++i) ones += row[i];
  return ones;
}

}  // namespace mtd
