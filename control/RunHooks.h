#pragma once

#include <cstdint>

#include "core/AnimationHooks.h"

namespace mtd {

// Everything the run controller asks of the rest of the program, beyond the simulation core:
// the animation and checks of the passes, the stop flags, pacing, waits, the statistics screen
// and the menu. The window program and the headless runner each supply one.
class RunHooks : public AnimationHooks {
 public:
  // Reloads init.txt (and everything a load resets, such as the pace).
  virtual void loadConfiguration() = 0;
  virtual void setRunning(bool running) = 0;
  virtual bool quitRequested() const = 0;
  virtual bool resetRequested() const = 0;
  virtual void delayStep() = 0;
  // Grays Reset and redraws the menu bar, after the animated decoding.
  virtual void grayResetItem() = 0;
  virtual void waitTimed(int milliseconds) = 0;
  virtual void showStatistics() = 0;
  virtual void drawEmptyGrid() = 0;
  // Enables Run and redraws the menu bar, at the normal end of a run.
  virtual void enableRunItem() = 0;

  // Between silent trials. The clock decides when the messages are due; one that stands still
  // keeps a run silent from start to end.
  virtual std::int64_t clockMilliseconds() = 0;
  // Services the queued messages and holds while paused; the run tests the stop flags after.
  virtual void serviceMessages() = 0;
  // How far a run has come while it shows no block: trials done out of maxBlock.
  virtual void showTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock) = 0;
  virtual void eraseTrialProgress() = 0;

  // Whether every trial block is to be animated, the selection rule skipped. Runners that
  // show nothing keep the rule.
  virtual bool showEveryBlock() const { return false; }
  // A run ended normally without showing a block: says so, and why. Runners that show
  // nothing have nothing to say.
  virtual void reportNoBlockShown(std::int32_t /*trialsDone*/) {}
};

}  // namespace mtd
