#pragma once

#include <cstdio>

#include "cli/ConfigurationSnapshot.h"
#include "control/RunHooks.h"

namespace mtd {
class RunController;
}

namespace mtd::cli {

// Hooks for a run without a window: they draw nothing, service no message, set no flag and do
// not pace, so a run goes straight through. The statistics screen becomes text on `out`, when
// one is given; attach the controller before the run so that its lines carry the trial.
class HeadlessRunHooks final : public RunHooks {
 public:
  HeadlessRunHooks(Simulation& sim, const ConfigurationSnapshot& configuration, std::FILE* out)
      : sim_(sim), configuration_(configuration), out_(out) {}
  void attach(const RunController& run) { run_ = &run; }

  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}
  void drawIterationLine(std::int32_t) override {}
  void drawDistanceLine(std::int32_t) override {}
  void paintDecodeStep(std::int32_t) override {}
  bool decodeStepCheck() override { return false; }

  void loadConfiguration() override { configuration_.loadInto(sim_); }
  void setRunning(bool) override {}
  bool quitRequested() const override { return false; }
  bool resetRequested() const override { return false; }
  void delayStep() override {}
  void grayResetItem() override {}
  void waitTimed(int) override {}
  void showStatistics() override;
  // The empty grid's redraw also clears the block tally; nothing else of it matters here.
  void drawEmptyGrid() override { sim_.clearBlockTally(); }
  void enableRunItem() override {}

 private:
  Simulation& sim_;
  const ConfigurationSnapshot& configuration_;
  std::FILE* out_;
  const RunController* run_ = nullptr;
};

}  // namespace mtd::cli
