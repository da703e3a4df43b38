#include "cli/run/TrialTrace.h"

#include "cli/run/HeadlessRunHooks.h"
#include "control/RunController.h"
#include "core/Passes.h"

namespace mtd::cli {

namespace {

// The four passes of the block again, animated for the recorder, from the state its trial
// started with.
void traceReplay(Simulation& sim, const GeneratorState& start, TrialTrace& trace) {
  sim.generator.restoreState(start);
  sim.clearBlockTally();
  TraceRecorder recorder(sim, trace);
  generateInfoNoise(sim, &recorder);
  generateCheckNoise(sim, &recorder);
  traceBlockDecoding(sim, trace);
}

}  // namespace

std::optional<TrialTrace> traceTrial(Simulation& sim, const ConfigurationSnapshot& configuration,
                                     std::int32_t trial) {
  HeadlessRunHooks hooks(sim, configuration, nullptr);
  RunController run(sim, hooks);
  hooks.loadConfiguration();
  if (trial < 0 || trial >= sim.params.maxBlock) return std::nullopt;

  TrialTrace trace;
  trace.trial = trial;
  // A replay draws the noise of its trial again and stops at the same iteration, so it moves
  // neither the generator nor lastIteration: the trials before this one need no replay.
  for (std::int32_t t = 0; t < trial; ++t) {
    run.runSilentTrial();
    if (selectBlock(sim.params, sim.blockTally, sim.decoder.lastIteration) ==
        SelectionVerdict::Shown) {
      ++trace.shownBefore;
    }
  }
  const GeneratorState start = sim.generator.saveState();
  run.runSilentTrial();
  trace.silentTally = sim.blockTally;
  trace.lastIteration = sim.decoder.lastIteration;
  trace.verdict = selectBlock(sim.params, sim.blockTally, sim.decoder.lastIteration);
  traceReplay(sim, start, trace);
  return trace;
}

}  // namespace mtd::cli
