#pragma once

#include <utility>

#include "control/RunHooks.h"
#include "core/Configuration.h"

namespace mtd {

// Hooks for a run without a window: they draw nothing, service no message, stop nothing and do
// not pace, and their clock stands still, so a run goes straight through. Each load takes the
// same configuration, read once. Runners and tests that want to see something of the run
// override what they need.
class NullRunHooks : public RunHooks {
 public:
  explicit NullRunHooks(Simulation& sim, ConfigurationFile configuration = {})
      : sim_(sim), configuration_(std::move(configuration)) {}

  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}
  void drawIterationLine(std::int32_t) override {}
  void drawDistanceLine(std::int32_t) override {}
  void paintDecodeStep(std::int32_t) override {}
  bool decodeStepCheck() override { return false; }

  void loadConfiguration() override { loadConfigurationFile(sim_, configuration_); }
  void setRunning(bool) override {}
  bool quitRequested() const override { return false; }
  bool resetRequested() const override { return false; }
  void delayStep() override {}
  void grayResetItem() override {}
  void waitTimed(int) override {}
  void showStatistics() override {}
  // The empty grid's redraw also clears the block tally; nothing else of it matters here.
  void drawEmptyGrid() override { sim_.clearBlockTally(); }
  void enableRunItem() override {}

  std::int64_t clockMilliseconds() override { return 0; }
  void serviceMessages() override {}
  void showTrialProgress(std::int32_t, std::int32_t) override {}
  void eraseTrialProgress() override {}

 protected:
  Simulation& simulation() { return sim_; }

 private:
  Simulation& sim_;
  ConfigurationFile configuration_;
};

}  // namespace mtd
