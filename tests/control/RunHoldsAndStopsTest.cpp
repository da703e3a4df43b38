#include <gtest/gtest.h>

#include <algorithm>

#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

// The small configuration's only trial is shown: 40 cells per noise row and the syndrome,
// then 80 decoder steps (two iterations) before the two timed waits.
constexpr int SMALL_DECODE_STEPS = 80;

// Index of the n-th (1-based) window text equal to `text` in the event log.
std::ptrdiff_t nthText(const std::vector<WindowEvent>& events, const std::string& text, int n) {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (!events[i].isCell && events[i].text == text && --n == 0) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

std::vector<WindowEvent> cellsAfter(const std::vector<WindowEvent>& events, std::ptrdiff_t from) {
  std::vector<WindowEvent> cells;
  for (std::size_t i = static_cast<std::size_t>(from) + 1; i < events.size(); ++i) {
    if (events[i].isCell) cells.push_back(events[i]);
  }
  return cells;
}

TEST(PauseInARun, InANoisePassItHoldsRightAfterTheCellItWasServicedAfter) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_SYNDROME, 5, [&] { h.ws().postFunctionKey(6); });
  bool held = false;
  h.ws().whenWaiting([&] {
    held = true;
    EXPECT_TRUE(h.flags().paused);
    EXPECT_EQ(h.lastColouredCell(ROW_SYNDROME), 5);
    h.ws().postFunctionKey(6);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_TRUE(held);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);  // resumed and ran to its end
  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
}

TEST(PauseInARun, InTheDecoderItHoldsOnlyAfterOneMoreStep) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(10, [&] { h.ws().postFunctionKey(6); });
  int stepsWhenHeld = 0;
  h.ws().whenWaiting([&] {
    stepsWhenHeld = h.decodeSteps();
    h.ws().postFunctionKey(6);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(stepsWhenHeld, 11);
  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
}

TEST(PauseInARun, AtTheDecodersLastStepItNeverHoldsAndTheTimedWaitUsesItUp) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(SMALL_DECODE_STEPS, [&] { h.ws().postFunctionKey(6); });
  h.closeWhenIdle();
  // A hold would wait for a Pause that never comes and throw.
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
  EXPECT_EQ(h.ws().timerMessagesPosted(), 2);
  EXPECT_FALSE(h.flags().paused);
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

TEST(PauseInARun, ATimerMessageEndsAUsersHold) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_SYNDROME, 5, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting(ScriptedMessage::timer());
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
}

TEST(TimedWaits, PauseFreezesTheWaitAndASecondPauseEndsItWithoutTheTimer) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.ws().whenWaiting([&] {
    EXPECT_EQ(h.ws().timerMilliseconds(), 5000);
    EXPECT_EQ(h.menu(), ProgramHarness::WAITING);
    EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 0);  // the wait after the decoding
    h.ws().postFunctionKey(6);
  });
  h.ws().whenWaiting([&] {
    EXPECT_FALSE(h.ws().timerSet());  // frozen: only Pause or quitting can end it
    EXPECT_TRUE(h.flags().paused);
    h.ws().postFunctionKey(6);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().timerMessagesPosted(), 1);  // only the statistics screen's wait timed out
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
  EXPECT_FALSE(h.flags().paused);
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

TEST(TimedWaits, QuitEndsTheWaitAfterTheDecodingAtOnceAndThenTheProgram) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.ws().whenWaiting(ScriptedMessage::functionKey(10));
  EXPECT_EQ(h.ws().runMainLoop(), 0);  // no close needed: the Run handler closes

  EXPECT_EQ(h.ws().timerMessagesPosted(), 0);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 0);
  EXPECT_TRUE(h.flags().paused);  // the wait returned with paused still set
  EXPECT_TRUE(h.flags().quitRequested);
  EXPECT_FALSE(h.flags().running);
  EXPECT_FALSE(h.ws().timerSet());
  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
  EXPECT_EQ(h.graphics().misuseCount(), 0);
}

TEST(TimedWaits, CloseDuringTheStatisticsScreenStillClearsItAndDrawsTheGrid) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.ws().whenWaiting([] {});  // the wait after the decoding times out
  h.ws().whenWaiting([&] {
    EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
    EXPECT_EQ(h.gridsDrawn(), 2);
    h.ws().postClose();
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().timerMessagesPosted(), 1);
  EXPECT_EQ(h.gridsDrawn(), 3);  // the statistics screen's own; the run's is not reached
  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
}

TEST(ResetInARun, WhileTheDecoderIsHeldItReloadsAtOnceAndStops) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(10, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting(ScriptedMessage::functionKey(2));
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  // The Reset command's grid, then the decoder's, with no step between them.
  EXPECT_EQ(h.gridsDrawn(), 4);
  EXPECT_EQ(h.decodeSteps(), 11);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 0);
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
  EXPECT_FALSE(h.flags().running);
  EXPECT_FALSE(h.flags().paused);
  EXPECT_EQ(h.program().pacing().delayCount(), 5'000'000);  // reloaded
}

TEST(ResetInARun, ServicedByTheDecodersPumpItDrawsOneMoreStepThenTheGridASecondTime) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(10, [&] { h.ws().postFunctionKey(2); });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.gridsDrawn(), 4);
  EXPECT_EQ(h.decodeSteps(), 11);
  const auto& events = h.events();
  const std::ptrdiff_t resetGrid = nthText(events, "DIFFERENCE", 3);
  const std::ptrdiff_t decoderGrid = nthText(events, "DIFFERENCE", 4);
  ASSERT_GT(resetGrid, 0);
  ASSERT_GT(decoderGrid, resetGrid);
  // Between the two grids: the last grid's own cells and the one step, which starts again
  // from the reloaded cursor (nbl / 33 + 1 = 2): it decides position 3 and marks 4.
  const auto between = cellsAfter(events, resetGrid);
  const auto step = std::find_if(between.begin(), between.end(), [](const WindowEvent& e) {
    return e.row == ROW_INFORMATION && e.colour == BLACK;
  });
  ASSERT_NE(step, between.end());
  EXPECT_EQ(step->position, 4);
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
}

TEST(ResetInARun, WhileANoisePassIsHeldThePassDrawsOneMoreCellAndStops) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_SYNDROME, 5, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting(ScriptedMessage::functionKey(2));
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.gridsDrawn(), 3);
  const auto after = cellsAfter(h.events(), nthText(h.events(), "DIFFERENCE", 3));
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].row, ROW_SYNDROME);
  EXPECT_EQ(after[0].position, 6);
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
}

TEST(ResetInARun, RunIsRefusedWhileTheResetRunStillUnwinds) {
  // Reset enables Run at once; a Run serviced by the one pump the noise pass makes before
  // its reset test must not start a second run inside the first.
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_SYNDROME, 5, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting([&] {
    h.ws().postFunctionKey(2);
    h.ws().postFunctionKey(5);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  const auto& delivered = h.ws().deliveredCommands();
  EXPECT_EQ(std::count(delivered.begin(), delivered.end(), CMD_RUN), 2);
  EXPECT_EQ(delivered.back(), CMD_RUN);
  EXPECT_EQ(h.gridsDrawn(), 3);
  EXPECT_EQ(h.decodeSteps(), 0);
  EXPECT_EQ(h.textCount("BLOCK NUMBER = 1"), 0);
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
  EXPECT_FALSE(h.flags().running);
}

TEST(QuitInARun, CloseWhileANoisePassRunsEndsTheRunAtThatCellAndThenTheProgram) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_INFORMATION, 25, [&] { h.ws().postClose(); });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.lastColouredCell(ROW_INFORMATION), 25);
  EXPECT_EQ(h.decodeSteps(), 0);
  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
  EXPECT_EQ(h.graphics().backBuffersDeleted(), 1);
}

TEST(QuitInARun, CloseWhileHeldEndsTheProgramAfterTheHeldPassDrawsOneMoreCell) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_SYNDROME, 5, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting(ScriptedMessage::close());
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.lastColouredCell(ROW_SYNDROME), 6);
  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
}

TEST(QuitInARun, QuitWhileTheDecoderIsHeldStopsItWithoutAnotherStep) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(10, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting(ScriptedMessage::functionKey(10));
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.decodeSteps(), 11);
  EXPECT_EQ(h.gridsDrawn(), 2);
}

}  // namespace
}  // namespace mtd::testing
