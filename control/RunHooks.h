#pragma once

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
};

}  // namespace mtd
