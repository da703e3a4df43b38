#include "cli/trace/DecodingTrace.h"

#include "core/CodeTaps.h"
#include "core/Passes.h"
#include "core/StopRule.h"

namespace mtd::cli {

namespace {

std::vector<std::int32_t> onePositions(const Bit* row, std::int32_t count) {
  std::vector<std::int32_t> positions;
  for (std::int32_t i = 0; i < count; ++i) {
    if (row[i] != 0) positions.push_back(i);
  }
  return positions;
}

// Why the decoding ended, by the decoder's own stop rule on the block's tally.
DecodingStop stopOf(const ErrorTally& tally, const std::vector<TracedIteration>& iterations) {
  if (iterations.empty()) return DecodingStop::NoIterations;
  switch (iterationEnd(tally, iterations.back().k)) {
    case IterationEnd::NoErrorsLeft:
      return DecodingStop::ZeroErrors;
    case IterationEnd::NoChange:
      return DecodingStop::EqualCounts;
    case IterationEnd::GoOn:
      break;
  }
  return DecodingStop::IterationsRanOut;
}

}  // namespace

void TraceRecorder::drawIterationLine(std::int32_t k) {
  finishIteration();
  TracedIteration iteration;
  iteration.k = k;
  iteration.threshold = flipThreshold(sim_.params, k);
  trace_.iterations.push_back(iteration);
}

// Called between the flip of the information bit and the flip of its checks: the decoder keeps
// the flipped position in decodeCursor, the information and difference bits are flipped
// already, the syndrome is not.
void TraceRecorder::drawDistanceLine(std::int32_t distance) {
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

void TraceRecorder::paintDecodeStep(std::int32_t position) {
  TracedIteration& iteration = current();
  if (iteration.positions++ == 0) iteration.firstPosition = position;
}

// The values of an iteration are complete once the next one begins or the decoding ends. They
// are read from iteration k's slot itself: the animated decoding fills the slots of the
// iterations it does not run once it stops.
void TraceRecorder::finishIteration() {
  if (trace_.iterations.empty()) return;
  TracedIteration& last = trace_.iterations.back();
  last.infoErrors = sim_.blockTally.counts[iterationSlot(last.k)];
  last.syndromeWeight = sim_.blockTally.weights[iterationSlot(last.k)];
  last.distance = sim_.decoder.currentDistance;
}

void traceBlockDecoding(Simulation& sim, DecodingTrace& trace) {
  TraceRecorder recorder(sim, trace);
  const std::int32_t nbl = sim.params.nbl;
  trace.infoErrorPositions = onePositions(sim.rows.infoErrors.data(), nbl);
  trace.checkErrorPositions = onePositions(sim.rows.checkErrors.data(), nbl);
  formSyndrome(sim, &recorder);
  trace.startSyndromeWeight = sim.blockTally.weights[SLOT_START_WEIGHT];
  trace.params = sim.params;
  sim.decoder.currentDistance = sim.blockTally.weights[SLOT_START_WEIGHT];
  decodeBlock(sim, &recorder);
  recorder.finishIteration();
  trace.stop = stopOf(sim.blockTally, trace.iterations);
  trace.finalInfoErrors = sim.decoder.finalInfoErrors;
  trace.finalSyndromeWeight = sim.decoder.finalSyndromeWeight;
  trace.finalDistance = sim.decoder.currentDistance;
}

}  // namespace mtd::cli
