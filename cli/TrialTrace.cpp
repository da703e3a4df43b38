#include "cli/TrialTrace.h"

#include "cli/HeadlessRunHooks.h"
#include "control/RunController.h"
#include "core/CodeTaps.h"
#include "core/Passes.h"

namespace mtd::cli {

namespace {

std::vector<std::int32_t> onePositions(const Bit* row, std::int32_t count) {
  std::vector<std::int32_t> positions;
  for (std::int32_t i = 0; i < count; ++i) {
    if (row[i] != 0) positions.push_back(i);
  }
  return positions;
}

// Follows an animated decoding and writes down what it does. It never stops a pass.
class TraceRecorder final : public AnimationHooks {
 public:
  TraceRecorder(const Simulation& sim, TrialTrace& trace) : sim_(sim), trace_(trace) {}

  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}

  void drawIterationLine(std::int32_t k) override {
    finishIteration();
    TracedIteration iteration;
    iteration.k = k;
    iteration.threshold = flipThreshold(sim_.params, k);
    trace_.iterations.push_back(iteration);
  }

  // Called between the flip of the information bit and the flip of its checks: the decoder
  // keeps the flipped position in decodeCursor, the information and difference bits are
  // flipped already, the syndrome is not.
  void drawDistanceLine(std::int32_t distance) override {
    const SimParams& p = sim_.params;
    const std::int32_t f = p.decodeCursor;
    TracedFlip flip;
    flip.position = f;
    flip.sum = 1 - sim_.rows.difference[f] + syndromeAtChecks(p, sim_.rows, f);
    flip.distanceAfter = distance;
    flip.correctsError = sim_.rows.infoErrors[f] == 0;
    flip.undoesFlip = sim_.rows.difference[f] == 0;
    current().flips.push_back(flip);
  }

  void paintDecodeStep(std::int32_t position) override {
    TracedIteration& iteration = current();
    if (iteration.positions++ == 0) iteration.firstPosition = position;
  }
  bool decodeStepCheck() override { return false; }

  // The values of an iteration are complete once the next one begins or the decoding ends.
  // They are read from counts[3+k] itself: the animated decoding fills the slots of the
  // iterations it does not run once it stops.
  void finishIteration() {
    if (trace_.iterations.empty()) return;
    TracedIteration& last = trace_.iterations.back();
    last.infoErrors = sim_.blockTally.counts[3 + last.k];
    last.syndromeWeight = sim_.blockTally.weights[3 + last.k];
    last.distance = sim_.decoder.currentDistance;
  }

 private:
  TracedIteration& current() { return trace_.iterations.back(); }

  const Simulation& sim_;
  TrialTrace& trace_;
};

DecodingStop stopOf(const std::vector<TracedIteration>& iterations) {
  if (iterations.empty()) return DecodingStop::NoIterations;
  const TracedIteration& last = iterations.back();
  if (last.infoErrors == 0) return DecodingStop::ZeroErrors;
  if (last.k >= 3 && last.infoErrors == iterations[iterations.size() - 2].infoErrors) {
    return DecodingStop::EqualCounts;
  }
  return DecodingStop::IterationsRanOut;
}

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

void traceBlockDecoding(Simulation& sim, TrialTrace& trace) {
  TraceRecorder recorder(sim, trace);
  const std::int32_t nbl = sim.params.nbl;
  trace.infoErrorPositions = onePositions(sim.rows.infoErrors.data(), nbl);
  trace.checkErrorPositions = onePositions(sim.rows.checkErrors.data(), nbl);
  formSyndrome(sim, &recorder);
  trace.startSyndromeWeight = sim.blockTally.weights[0];
  trace.params = sim.params;
  sim.decoder.currentDistance = sim.blockTally.weights[0];
  decodeBlock(sim, &recorder);
  recorder.finishIteration();
  trace.stop = stopOf(trace.iterations);
  trace.finalInfoErrors = sim.decoder.finalInfoErrors;
  trace.finalSyndromeWeight = sim.decoder.finalSyndromeWeight;
  trace.finalDistance = sim.decoder.currentDistance;
}

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
