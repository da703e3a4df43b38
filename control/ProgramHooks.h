#pragma once

#include <filesystem>

#include "control/Pacing.h"
#include "control/RunFlags.h"
#include "control/RunHooks.h"
#include "control/WindowSystem.h"
#include "core/Configuration.h"
#include "core/Simulation.h"
#include "ui/Display.h"

namespace mtd {

class RunController;

// What a run asks of the window program: the display for the animation and the statistics
// screen, the pacing for the checks and waits, the run flags and the menu.
class ProgramHooks final : public RunHooks {
 public:
  ProgramHooks(Simulation& sim, Display& display, Pacing& pacing, RunFlags& flags,
               WindowSystem& windowSystem, std::filesystem::path configDirectory);

  // The run whose block number and noise weight the block header shows.
  void attach(const RunController& run) { run_ = &run; }

  // Loads the configuration and draws the empty grid for it.
  void reloadAndRedraw();

  // Animation of the passes.
  void repaintCell(std::int32_t position, int row) override;
  bool stepCheck() override { return pacing_.stepCheck(); }
  void drawBlockHeader() override;
  void drawIterationLine(std::int32_t iteration) override;
  void drawDistanceLine(std::int32_t distance) override;
  void paintDecodeStep(std::int32_t position) override;
  bool decodeStepCheck() override { return pacing_.decodeStepCheck(); }

  // The run itself.
  void loadConfiguration() override;
  void setRunning(bool running) override;
  bool quitRequested() const override { return flags_.quitRequested; }
  bool resetRequested() const override { return flags_.resetRequested; }
  void delayStep() override { pacing_.delayStep(); }
  void grayResetItem() override;
  void waitTimed(int milliseconds) override { pacing_.waitTimed(milliseconds); }
  void showStatistics() override;
  void drawEmptyGrid() override { display_.drawEmptyGrid(); }
  void enableRunItem() override;

  // Between silent trials.
  std::int64_t clockMilliseconds() override { return windowSystem_.tickMilliseconds(); }
  void serviceMessages() override { pacing_.serviceQueuedMessages(); }
  void showTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock) override {
    display_.drawTrialProgress(trialsDone, maxBlock);
  }
  void eraseTrialProgress() override { display_.eraseTrialProgress(); }

  bool showEveryBlock() const override { return flags_.showEveryBlock; }
  // Stands in the text panel like a refused file's message, until the next load.
  void reportNoBlockShown(std::int32_t trialsDone) override;

 private:
  LoadResult load();
  // A refused or unreadable init.txt says why in the text panel; the next load without a
  // problem takes it away.
  void showLoadOutcome(const LoadResult& result);
  // Enables or grays one item and redraws the menu bar.
  void setMenuItem(int commandId, bool enabled);

  Simulation& sim_;
  Display& display_;
  Pacing& pacing_;
  RunFlags& flags_;
  WindowSystem& windowSystem_;
  std::filesystem::path configDirectory_;
  const RunController* run_ = nullptr;
};

}  // namespace mtd
