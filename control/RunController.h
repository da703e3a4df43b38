#pragma once

#include <cstdint>

#include "control/BlockSelection.h"
#include "control/RunHooks.h"
#include "control/SilentStretch.h"
#include "core/NoiseGenerator.h"
#include "core/Simulation.h"

namespace mtd {

// One Run: silent trial blocks, the selection rule (or none, when every block is to be shown),
// and the animated replay of each block worth showing.
class RunController {
 public:
  RunController(Simulation& sim, RunHooks& hooks) : sim_(sim), hooks_(hooks) {}

  void run();

  // Step 4 of the run: one trial block, silently, from a saved generator state.
  void runSilentTrial();
  // Replays the trial just run with animation. Returns false when a stop flag ended it.
  bool replay();

  std::int32_t blockNumber() const { return blockNumber_; }
  std::int32_t trial() const { return trial_; }
  std::int32_t noiseWeight() const { return noiseWeight_; }
  std::int32_t trialsPerformed() const { return trialsPerformed_; }
  std::int32_t blocksShown() const { return blocksShown_; }

 private:
  bool stopRequested() const { return hooks_.quitRequested() || hooks_.resetRequested(); }
  // After a trial that is not shown: services the messages when they are due. Returns false
  // when a stop flag ends the run.
  bool betweenSilentTrials();
  void beginSilentStretch() { stretch_.begin(hooks_.clockMilliseconds()); }
  void endSilentStretch();

  Simulation& sim_;
  RunHooks& hooks_;
  std::int32_t blockNumber_ = 0;
  std::int32_t trial_ = 0;
  std::int32_t trialsPerformed_ = 0;
  std::int32_t blocksShown_ = 0;
  std::int32_t noiseWeight_ = 0;
  GeneratorState saved_{};
  SilentStretch stretch_;
  bool progressShown_ = false;
};

}  // namespace mtd
