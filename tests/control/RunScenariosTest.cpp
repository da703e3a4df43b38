#include <gtest/gtest.h>

#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

TEST(RunMenu, MenuStatesGoFromReadyThroughRunningAndWaitingToFinished) {
  ProgramHarness h;
  h.startUp();
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
  h.postRunAtFullSpeed();
  std::vector<ProgramHarness::MenuStates> seen;
  h.whenCellDrawn(ROW_INFORMATION, 0, [&] {
    EXPECT_TRUE(h.flags().running);
    seen.push_back(h.menu());
  });
  h.whenDecodeStep(80, [&] { seen.push_back(h.menu()); });  // the last step
  h.ws().whenWaiting([&] { seen.push_back(h.menu()); });    // after the decoding
  h.ws().whenWaiting([&] { seen.push_back(h.menu()); });    // the statistics screen
  h.ws().whenMainLoopIdle([&] {
    EXPECT_FALSE(h.flags().running);
    seen.push_back(h.menu());
    h.ws().postClose();
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(seen, (std::vector<ProgramHarness::MenuStates>{
                      ProgramHarness::RUNNING, ProgramHarness::RUNNING, ProgramHarness::WAITING,
                      ProgramHarness::WAITING, ProgramHarness::FINISHED}));
}

TEST(RunMenu, AfterAFinishedRunPauseBlocksRunUntilPausedAgain) {
  ProgramHarness h(smallConfiguration(0));  // runs without trials end at once
  h.startUp();
  h.ws().postFunctionKey(5);
  h.ws().postCharacter('g');  // 2,500,000: only a run's load would undo it
  h.ws().postFunctionKey(6);  // paused while idle
  h.ws().postFunctionKey(5);  // refused
  h.ws().whenMainLoopIdle([&] {
    EXPECT_TRUE(h.flags().paused);
    EXPECT_EQ(h.program().pacing().delayCount(), 2'500'000);
    EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
    h.ws().postFunctionKey(6);
    h.ws().postFunctionKey(5);
  });
  h.ws().whenMainLoopIdle([&] {
    EXPECT_FALSE(h.flags().paused);
    EXPECT_EQ(h.program().pacing().delayCount(), 5'000'000);  // this Run did load
    h.ws().postClose();
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);
}

TEST(RunMenu, ResetAfterAFinishedRunGoesBackToReadyAndClearsPaused) {
  ProgramHarness h(smallConfiguration(0));
  h.startUp();
  h.ws().postFunctionKey(5);
  h.ws().postFunctionKey(6);
  h.ws().postFunctionKey(2);
  h.ws().whenMainLoopIdle([&] {
    EXPECT_EQ(h.menu(), ProgramHarness::READY);
    EXPECT_FALSE(h.flags().paused);
    EXPECT_TRUE(h.flags().resetRequested);  // harmless until the next Run clears it
    EXPECT_EQ(h.gridsDrawn(), 3);
    h.ws().postFunctionKey(5);
  });
  h.ws().whenMainLoopIdle([&] {
    EXPECT_FALSE(h.flags().resetRequested);
    EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
    h.ws().postClose();
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);
}

TEST(RunPace, GrowAndLowBeforeRunAreUndoneByTheRunsLoad) {
  ProgramHarness h;
  h.startUp();
  h.ws().postCharacter('g');
  h.ws().postCharacter('g');
  h.ws().postCharacter('l');
  h.ws().postFunctionKey(5);
  std::int32_t atFirstCell = 0;
  h.whenCellDrawn(ROW_INFORMATION, 0, [&] {
    atFirstCell = h.program().pacing().delayCount();
    for (int i = 0; i < 19; ++i) h.ws().postCharacter('g');
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(atFirstCell, 5'000'000);
  EXPECT_EQ(h.program().pacing().delayCount(), 10);
}

struct RunRecord {
  std::vector<int> shownTrials;
  std::vector<std::string> statistics;
  ErrorTally totals;
};

RunRecord recordRun(ProgramHarness& h, int growPresses,
                    const std::function<void(ProgramHarness&)>& script) {
  RunRecord record;
  h.startUp();
  h.ws().watchWindow([&](const RecordedCall& call) {
    if (call.op != DrawOp::TextOut) return;
    if (call.text.starts_with("BLOCK NUMBER = ")) {
      record.shownTrials.push_back(h.program().runController().trial());
    }
    if (call.text.starts_with("DECODER ERRORS=") || call.text.starts_with("SYNDROME WEIGHT=")) {
      record.statistics.push_back(call.text);
    }
  });
  h.ws().postFunctionKey(5);
  for (int i = 0; i < growPresses; ++i) h.ws().postCharacter('g');
  script(h);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  record.totals = h.program().simulation().totalTally;
  return record;
}

TEST(RunSelection, TheShownBlocksDependOnlyOnTheConfigurationNotOnPausesOrPace) {
  ProgramHarness fast(smallConfiguration(30));
  const RunRecord plain = recordRun(fast, 19, [](ProgramHarness&) {});

  ProgramHarness slow(smallConfiguration(30));
  const RunRecord disturbed = recordRun(slow, 12, [](ProgramHarness& h) {
    // Block 1 (80 decoder steps) held in its check noise, block 2 (40 steps) held in its
    // decoding; Low in block 3.
    h.whenCellDrawn(ROW_SYNDROME, 5, [&h] { h.ws().postFunctionKey(6); });
    h.ws().whenWaiting(ScriptedMessage::functionKey(6));
    h.ws().whenWaiting([] {});
    h.ws().whenWaiting([] {});
    h.whenDecodeStep(80 + 10, [&h] { h.ws().postFunctionKey(6); });
    h.ws().whenWaiting(ScriptedMessage::functionKey(6));
    h.whenDecodeStep(80 + 40 + 5, [&h] { h.ws().postCharacter('l'); });
  });

  EXPECT_EQ(plain.shownTrials, (std::vector<int>{0, 20, 25, 27, 28}));
  EXPECT_EQ(disturbed.shownTrials, plain.shownTrials);
  EXPECT_EQ(disturbed.statistics, plain.statistics);
  EXPECT_EQ(disturbed.totals.counts, plain.totals.counts);
  EXPECT_EQ(plain.totals.counts[0], 5 * SMALL_NBL);
  EXPECT_EQ(plain.totals.counts[12], 0);
}

TEST(RunSelection, WithTheDefaultsTheFirstTwoTrialsAreShownAsBlocksOneAndTwo) {
  // An unmarked file: every value takes its default except maxBlock, which its line sets.
  ProgramHarness h("#\n#\n#\n#\n#\n#\nmaxBlock=2\n");
  h.keepEvents(false);
  h.graphics().setCanvasEnabled(false);  // two blocks of 1000 bits: keep only the counts
  h.graphics().setLogLimit(0);
  const RunRecord record = recordRun(h, 19, [](ProgramHarness&) {});

  EXPECT_EQ(h.program().simulation().params.nbl, 1000);
  EXPECT_EQ(record.shownTrials, (std::vector<int>{0, 1}));
  EXPECT_EQ(h.textCount("BLOCK NUMBER = 2"), 1);
  EXPECT_EQ(h.textCount("RAND=7, P=0.06, CODE=1/2, K=1000, D=23"), 2);
  EXPECT_EQ(h.textCount("FINAL INFORMATION ERRORS=0"), 4);  // block and total, twice
  EXPECT_EQ(record.totals.counts[0], 2000);
  EXPECT_EQ(record.totals.counts[12], 0);
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

}  // namespace
}  // namespace mtd::testing
