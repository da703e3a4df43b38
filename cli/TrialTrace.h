#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cli/ConfigurationSnapshot.h"
#include "control/BlockSelection.h"

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

// One trial block of a run, as the decoder works through it.
struct TrialTrace {
  std::int32_t trial = 0;
  bool fromRun = true;  // a trial of a Run; false for a frame of a sweep, which has no selection
  SimParams params;     // as loaded for the run, decodeCursor as the block's syndrome left it
  std::int32_t shownBefore = 0;  // blocks the earlier trials of the run show

  std::vector<std::int32_t> infoErrorPositions;
  std::vector<std::int32_t> checkErrorPositions;
  std::int32_t startSyndromeWeight = 0;

  std::vector<TracedIteration> iterations;
  DecodingStop stop = DecodingStop::NoIterations;
  std::int32_t finalInfoErrors = 0;
  std::int32_t finalSyndromeWeight = 0;
  std::int32_t finalDistance = 0;

  // The selection rule reads the silent trial's tally and the decoder's lastIteration.
  ErrorTally silentTally;
  std::int32_t lastIteration = 0;
  SelectionVerdict verdict = SelectionVerdict::Shown;
};

// Traces the decoding of the block whose channel errors sim.rows holds (the generated noise,
// or errors put there as the noise passes leave them), from the syndrome former on. Fills the
// error positions, the iterations and the stop; the selection fields stay as they are.
void traceBlockDecoding(Simulation& sim, TrialTrace& trace);

// Loads the configuration as a run's first step does and traces trial `trial` (from 0) of the
// run; nothing when the run has no such trial.
std::optional<TrialTrace> traceTrial(Simulation& sim, const ConfigurationSnapshot& configuration,
                                     std::int32_t trial);

}  // namespace mtd::cli
