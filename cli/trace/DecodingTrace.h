#pragma once

#include <cstdint>
#include <vector>

#include "core/AnimationHooks.h"
#include "core/Simulation.h"

namespace mtd::cli {

struct TracedFlip {
  std::int32_t position = 0;
  std::int32_t sum = 0;            // the check sum S that decided the flip
  std::int32_t distanceAfter = 0;  // the running distance once the flip is counted
  bool correctsError = false;      // the bit was in error before the flip
  bool undoesFlip = false;         // the bit had been flipped already in an earlier iteration
};

struct TracedIteration {
  std::int32_t k = 0;               // from 0; the screen shows k + 1
  std::int64_t threshold = 0;       // a bit flips when S > threshold (ktrh[k+1] + 5)
  std::int32_t firstPosition = -1;  // where the sweep began
  std::int32_t positions = 0;       // positions examined
  std::vector<TracedFlip> flips;
  // What the decoder records at the end of the sweep.
  std::int32_t infoErrors = 0;
  std::int32_t syndromeWeight = 0;
  std::int32_t distance = 0;
};

enum class DecodingStop {
  ZeroErrors,        // an iteration left no information error
  EqualCounts,       // at k >= 3, as many errors as after the iteration before
  IterationsRanOut,  // all ktrh[0] iterations ran without a stop; lastIteration is kept
  NoIterations,      // ktrh[0] is 0 or less
};

// One block as the decoder works through it: the channel errors, every iteration and the stop.
struct DecodingTrace {
  bool fromRun = true;  // a trial of a Run; false for a frame of a sweep, which has no selection
  SimParams params;     // as loaded for the run, decodeCursor as the block's syndrome left it

  std::vector<std::int32_t> infoErrorPositions;
  std::vector<std::int32_t> checkErrorPositions;
  std::int32_t startSyndromeWeight = 0;

  std::vector<TracedIteration> iterations;
  DecodingStop stop = DecodingStop::NoIterations;
  std::int32_t finalInfoErrors = 0;
  std::int32_t finalSyndromeWeight = 0;
  std::int32_t finalDistance = 0;
  std::int32_t lastIteration = 0;  // the decoder's, as a Run keeps it
};

// Follows an animated pass and writes down what the decoder does. It never stops a pass.
class TraceRecorder final : public AnimationHooks {
 public:
  TraceRecorder(const Simulation& sim, DecodingTrace& trace) : sim_(sim), trace_(trace) {}

  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}
  void drawIterationLine(std::int32_t k) override;
  void drawDistanceLine(std::int32_t distance) override;
  void paintDecodeStep(std::int32_t position) override;
  bool decodeStepCheck() override { return false; }
  void finishIteration();

 private:
  TracedIteration& current() { return trace_.iterations.back(); }

  const Simulation& sim_;
  DecodingTrace& trace_;
};

// Traces the decoding of the block whose channel errors sim.rows holds (the generated noise,
// or errors put there as the noise passes leave them), from the syndrome former on. Fills the
// error positions, the iterations and the stop.
void traceBlockDecoding(Simulation& sim, DecodingTrace& trace);

}  // namespace mtd::cli
