// Step: while a run is held, one animated step (a cell of a noise or syndrome pass, a decoder
// position, or the end of a timed wait), then the run holds again. Grayed when it does not apply.
#include <gtest/gtest.h>

#include <vector>

#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

constexpr int SMALL_DECODE_STEPS = 80;  // the small configuration's shown block: two iterations

// Cells painted on the window so far.
long cellsPainted(const ProgramHarness& h) {
  long cells = 0;
  for (const WindowEvent& e : h.events()) cells += e.isCell ? 1 : 0;
  return cells;
}

// Holds the run with Pause when the action's moment comes, then at each hold records the cells
// painted and the Step item's state and presses s, `steps` times, then resumes with Pause.
struct StepRecorder {
  explicit StepRecorder(ProgramHarness& harness) : h(harness) {}

  ProgramHarness& h;
  std::vector<long> cellsAtHold;
  std::vector<int> decodeStepsAtHold;
  std::vector<bool> stepEnabledAtHold;

  void holdThenStep(int steps) {
    for (int i = 0; i <= steps; ++i) {
      h.ws().whenWaiting([this, i, steps] {
        cellsAtHold.push_back(cellsPainted(h));
        decodeStepsAtHold.push_back(h.decodeSteps());
        stepEnabledAtHold.push_back(h.ws().menuItemEnabled(CMD_STEP));
        EXPECT_TRUE(h.flags().paused);
        h.ws().post(i < steps ? ScriptedMessage::character('s') : ScriptedMessage::functionKey(6));
      });
    }
  }
};

TEST(StepCommand, InANoisePassEachStepPaintsExactlyOneCell) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_INFORMATION, 5, [&] { h.ws().postFunctionKey(6); });
  StepRecorder steps(h);
  steps.holdThenStep(3);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  ASSERT_EQ(steps.cellsAtHold.size(), 4u);
  for (std::size_t i = 1; i < steps.cellsAtHold.size(); ++i) {
    EXPECT_EQ(steps.cellsAtHold[i] - steps.cellsAtHold[i - 1], 1) << "step " << i;
  }
  EXPECT_EQ(steps.stepEnabledAtHold, std::vector<bool>(4, true));
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);  // resumed and ran to its end
  EXPECT_FALSE(h.ws().menuItemEnabled(CMD_STEP));
}

TEST(StepCommand, FromTheLastCellOfAPassItPaintsTheFirstCellOfTheNext) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  // The check noise pass paints the SYNDROME row first; the syndrome pass repaints it, and
  // after its last cell the next step is the decoder's first position.
  h.whenCellDrawn(ROW_SYNDROME, SMALL_NBL - 1, [&] {
    h.whenCellDrawn(ROW_SYNDROME, SMALL_NBL - 1, [&] { h.ws().postFunctionKey(6); });
  });
  StepRecorder steps(h);
  steps.holdThenStep(1);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  ASSERT_EQ(steps.decodeStepsAtHold.size(), 2u);
  EXPECT_EQ(steps.decodeStepsAtHold[1] - steps.decodeStepsAtHold[0], 1);
  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
}

TEST(StepCommand, InTheDecoderEachStepIsOnePosition) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenDecodeStep(10, [&] { h.ws().postFunctionKey(6); });
  StepRecorder steps(h);
  steps.holdThenStep(3);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(steps.decodeStepsAtHold, (std::vector<int>{11, 12, 13, 14}));
  for (std::size_t i = 1; i < steps.cellsAtHold.size(); ++i) {
    EXPECT_EQ(steps.cellsAtHold[i] - steps.cellsAtHold[i - 1], SMALL_STEP_CELLS);
  }
  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
}

TEST(StepCommand, AfterTheDecodersLastStepTheTimedWaitsHoldUntilEachIsStepped) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  // The decoder holds one step after the step whose check serviced the Pause: at its last.
  h.whenDecodeStep(SMALL_DECODE_STEPS - 1, [&] { h.ws().postFunctionKey(6); });
  std::vector<std::string> seen;
  auto hold = [&](const char* what, int statistics, char key) {
    h.ws().whenWaiting([&h, &seen, what, statistics, key] {
      seen.push_back(what);
      EXPECT_FALSE(h.ws().timerSet()) << what << ": a held wait runs no timer";
      EXPECT_TRUE(h.ws().menuItemEnabled(CMD_STEP)) << what;
      EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), statistics) << what;
      h.ws().postCharacter(key);
    });
  };
  hold("the last decoder position", 0, 's');
  hold("the wait after the decoding", 0, 's');
  hold("the statistics screen", 1, 's');
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(h.decodeSteps(), SMALL_DECODE_STEPS);
  EXPECT_EQ(h.ws().timerMessagesPosted(), 0);  // neither wait ran out: Step ended both
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

TEST(StepCommand, OnATimedWaitThatRunsItEndsItAndHoldsTheNextWait) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();
  h.ws().whenWaiting([&] {
    EXPECT_TRUE(h.ws().timerSet());  // the wait after the decoding, on its timer
    EXPECT_TRUE(h.ws().menuItemEnabled(CMD_STEP));
    h.ws().postCharacter('s');
  });
  h.ws().whenWaiting([&] {
    EXPECT_FALSE(h.ws().timerSet());
    EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
    h.ws().postFunctionKey(6);  // Pause ends a held wait as it ends a frozen one
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_EQ(h.ws().timerMessagesPosted(), 0);
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

TEST(StepCommand, IsGrayedWhenNoRunIsHeldAndItsKeyThenDoesNothing) {
  ProgramHarness h;
  h.startUp();
  EXPECT_FALSE(h.ws().menuItemEnabled(CMD_STEP));
  h.ws().postCharacter('s');  // idle
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_INFORMATION, 3, [&] {
    EXPECT_FALSE(h.ws().menuItemEnabled(CMD_STEP));  // running, not held
    h.ws().postCharacter('s');
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().refusedCommands(), (std::vector<int>{CMD_STEP, CMD_STEP}));
  EXPECT_EQ(h.ws().ignoredKeys(), 0);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
  EXPECT_FALSE(h.ws().menuItemEnabled(CMD_STEP));
}

TEST(StepCommand, ResetWhileHeldGraysItAndThePendingStepIsForgotten) {
  ProgramHarness h(smallConfiguration(1));
  h.startUp();
  h.postRunAtFullSpeed();
  h.whenCellDrawn(ROW_INFORMATION, 5, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting([&] {
    h.ws().postCharacter('s');
    h.ws().postFunctionKey(2);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_FALSE(h.flags().stepGranted);
  EXPECT_FALSE(h.flags().paused);
  EXPECT_FALSE(h.ws().menuItemEnabled(CMD_STEP));
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
}

}  // namespace
}  // namespace mtd::testing
