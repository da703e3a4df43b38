#include <gtest/gtest.h>

#include <vector>

#include "control/BlockSelection.h"
#include "control/NullRunHooks.h"
#include "control/RunController.h"
#include "core/Configuration.h"

namespace mtd {
namespace {

// Hooks that neither draw nor pace; they record what the run shows and can stop it. Their
// clock moves on by a step at every reading.
class CountingHooks : public NullRunHooks {
 public:
  explicit CountingHooks(Simulation& sim) : NullRunHooks(sim) {}
  void attach(const RunController& run) { run_ = &run; }

  void repaintCell(std::int32_t, int) override { ++cells; }
  void drawBlockHeader() override { shownTrials.push_back(run_->trial()); }
  bool decodeStepCheck() override {
    if (++decodeSteps == resetAtDecodeStep) reset = true;
    return reset;
  }
  void loadConfiguration() override { loadConfigurationText(simulation(), configText); }
  void setRunning(bool value) override { running.push_back(value); }
  bool quitRequested() const override { return quit; }
  bool resetRequested() const override { return reset; }
  void grayResetItem() override { ++grays; }
  void showStatistics() override { finals.push_back(simulation().decoder.finalInfoErrors); }
  void enableRunItem() override { ++enables; }

  std::int64_t clockMilliseconds() override { return clock += clockStep; }
  void serviceMessages() override {
    servicedAfterTrials.push_back(run_->trialsPerformed());
    if (servicedAfterTrials.size() == quitAtService) quit = true;
  }
  void showTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock) override {
    progress.emplace_back(trialsDone, maxBlock);
    progressStanding = true;
  }
  void eraseTrialProgress() override { progressStanding = false; }

  std::optional<std::string> configText;
  std::vector<int> shownTrials;
  std::vector<int> finals;
  std::vector<bool> running;
  long cells = 0;
  long decodeSteps = 0;
  long resetAtDecodeStep = -1;
  bool reset = false;
  bool quit = false;
  int grays = 0;
  int enables = 0;

  std::int64_t clock = 0;
  std::int64_t clockStep = 0;
  std::vector<int> servicedAfterTrials;
  std::size_t quitAtService = 0;
  std::vector<std::pair<int, int>> progress;
  bool progressStanding = false;

 private:
  const RunController* run_ = nullptr;
};

TEST(RunController, DefaultRunShows359BlocksAllCorrected) {
  auto sim = std::make_unique<Simulation>();
  CountingHooks hooks(*sim);
  RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  EXPECT_EQ(run.trialsPerformed(), 2000);
  EXPECT_EQ(run.blockNumber(), 359);
  ASSERT_EQ(hooks.shownTrials.size(), 359u);
  EXPECT_EQ(std::vector<int>(hooks.shownTrials.begin(), hooks.shownTrials.begin() + 5),
            (std::vector<int>{0, 1, 8, 11, 16}));
  EXPECT_EQ(hooks.finals, std::vector<int>(359, 0));
  EXPECT_EQ(hooks.grays, 359);
  EXPECT_EQ(hooks.enables, 1);
  EXPECT_EQ(hooks.running, (std::vector<bool>{true, false}));
  EXPECT_EQ(sim->totalTally.counts[0], 359 * 1000);
  EXPECT_EQ(sim->totalTally.counts[12], 0);
  // Each replay paints both noise rows and the syndrome row once.
  EXPECT_EQ(hooks.cells, 359L * 3000);
}

TEST(RunController, ResetDuringADecodingEndsTheRunWithoutTheNormalEnd) {
  auto sim = std::make_unique<Simulation>();
  CountingHooks hooks(*sim);
  hooks.resetAtDecodeStep = 1500;
  RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  EXPECT_EQ(run.blockNumber(), 1);
  EXPECT_EQ(hooks.enables, 0);
  EXPECT_EQ(hooks.running, (std::vector<bool>{true}));
  EXPECT_EQ(sim->totalTally.counts[0], 0);
}

TEST(RunController, NoTrialsWhenMaxBlockIsNotPositive) {
  auto sim = std::make_unique<Simulation>();
  CountingHooks hooks(*sim);
  hooks.configText =
      "nbl=1000\nkst=7\np=0.06\nndn=11 w\n"
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
      "856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=0\nddn=22\ncheck\n";
  RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  EXPECT_EQ(run.trialsPerformed(), 0);
  EXPECT_EQ(run.blockNumber(), 0);
  EXPECT_EQ(hooks.enables, 1);
  EXPECT_EQ(hooks.running, (std::vector<bool>{true, false}));
}

TEST(RunController, AQuitServicedBetweenSilentTrialsEndsTheRunThere) {
  auto sim = std::make_unique<Simulation>();
  CountingHooks hooks(*sim);
  // No channel errors at all: no block is ever shown.
  hooks.configText =
      "nbl=1000\nkst=7\np=-0.001\nndn=11 w\n"
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
      "856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2147483647\nddn=22\ncheck\n";
  hooks.clockStep = 1;
  hooks.quitAtService = 30;
  RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  ASSERT_EQ(hooks.servicedAfterTrials.size(), 30u);
  EXPECT_EQ(run.trialsPerformed(), hooks.servicedAfterTrials.back());
  EXPECT_LT(run.trialsPerformed(), 2000);  // one reading a trial, 50 ms between services
  EXPECT_EQ(run.blockNumber(), 0);
  EXPECT_EQ(hooks.enables, 0);  // no normal end
  EXPECT_EQ(hooks.running, (std::vector<bool>{true}));
  // Shown at every service once a second of silence has passed, erased on the way out.
  ASSERT_FALSE(hooks.progress.empty());
  EXPECT_EQ(hooks.progress.back(), std::make_pair(run.trialsPerformed(), 2147483647));
  EXPECT_FALSE(hooks.progressStanding);
}

SimParams defaultParams() {
  Simulation sim;
  loadConfigurationText(sim, std::nullopt);
  return sim.params;
}

ErrorTally tallyOf(int info, int check, int left) {
  ErrorTally t;
  t.counts[1] = info;
  t.counts[2] = check;
  t.counts[3] = left;
  return t;
}

TEST(BlockSelection, ExactFloatingPointBoundaries) {
  const SimParams p = defaultParams();
  EXPECT_EQ(selectBlock(p, tallyOf(58, 58, 0), 0), SelectionVerdict::TooFewErrors);  // 116
  EXPECT_EQ(selectBlock(p, tallyOf(59, 58, 0), 0), SelectionVerdict::Shown);         // 117
  EXPECT_EQ(selectBlock(p, tallyOf(60, 67, 0), 0), SelectionVerdict::Shown);         // +7
  EXPECT_EQ(selectBlock(p, tallyOf(60, 68, 0), 0), SelectionVerdict::TooManyCheckErrors);
  EXPECT_EQ(selectBlock(p, tallyOf(100, 20, 0), 0), SelectionVerdict::Shown);
  EXPECT_EQ(selectBlock(p, tallyOf(70, 70, 1), 0), SelectionVerdict::ErrorsLeft);
  // Condition (c) reads the slot of the recorded last iteration.
  ErrorTally t = tallyOf(70, 70, 5);
  t.counts[8] = 0;
  EXPECT_EQ(selectBlock(p, t, 5), SelectionVerdict::Shown);
  EXPECT_EQ(selectBlock(p, t, 0), SelectionVerdict::ErrorsLeft);
}

}  // namespace
}  // namespace mtd
