// Long stretches of silent trials: the run services the window's messages between them once
// 50 ms of silent work have passed, shows "TRIAL=n OF maxBlock" after a second without a shown
// block, and shows exactly the blocks of an uninterrupted run. The scripted clock moves on at
// every reading, which the run controller makes once per silent trial.
#include <gtest/gtest.h>

#include <memory>

#include "tests/control/ProgramHarness.h"
#include "ui/ScreenLayout.h"

namespace mtd::testing {
namespace {

// The small code at a p where about one trial in a hundred and fifty is shown: long silent
// stretches between short animations.
std::string sparseConfiguration(int maxBlock) {
  std::string text = smallConfiguration(maxBlock);
  return text.replace(text.find("p= 0.06"), 7, "p= 0.12");
}

// No channel errors at all: no block is ever shown.
std::string silentConfiguration(int maxBlock) {
  std::string text = smallConfiguration(maxBlock);
  return text.replace(text.find("p= 0.06"), 7, "p= -0.001");
}

bool isProgress(const std::string& text) { return text.rfind("TRIAL=", 0) == 0; }

// What a run showed: the status and statistics lines, in order, without the progress lines.
struct RunRecord {
  std::vector<int> shownTrials;
  std::vector<std::string> texts;
  int progressLines = 0;
  int progressStandingAtABlock = 0;
};

void recordRun(ProgramHarness& h, RunRecord& record) {
  auto lastProgress = std::make_shared<std::string>();
  h.ws().watchWindow([&h, &record, lastProgress](const RecordedCall& call) {
    if (call.op != DrawOp::TextOut) return;
    if (isProgress(call.text)) {
      ++record.progressLines;
      *lastProgress = call.text;
      return;
    }
    if (call.text.rfind("BLOCK NUMBER", 0) == 0) {
      record.shownTrials.push_back(h.program().runController().trial());
      if (h.graphics().windowSurface().findText(*lastProgress) != nullptr) {
        ++record.progressStandingAtABlock;
      }
    }
    record.texts.push_back(call.text);
  });
}

TEST(SilentStretch, ARunWithManyInterruptionsShowsTheSameBlocks) {
  constexpr int MAX_BLOCK = 3000;
  ProgramHarness quiet(sparseConfiguration(MAX_BLOCK));
  quiet.keepEvents(false);
  RunRecord still;
  recordRun(quiet, still);
  quiet.startUp();
  quiet.postRunAtFullSpeed();
  quiet.closeWhenIdle();
  ASSERT_EQ(quiet.ws().runMainLoop(), 0);
  ASSERT_GE(still.shownTrials.size(), 10u);
  EXPECT_EQ(still.progressLines, 0);  // the clock stood still: never serviced

  ProgramHarness busy(sparseConfiguration(MAX_BLOCK));
  busy.keepEvents(false);
  RunRecord interrupted;
  recordRun(busy, interrupted);
  busy.startUp();
  busy.postRunAtFullSpeed();
  busy.ws().setClockStep(10);  // services every fifth silent trial
  ScriptedWindowSystem& ws = busy.ws();
  int pauses = 0;
  for (int t = 100; t < MAX_BLOCK * 10; t += 170) {
    ws.atClock(t, [&ws, &pauses, t] {
      switch (t / 170 % 5) {
        case 0:  // Pause, and Pause again once the run holds
          ws.postFunctionKey(6);
          ws.whenWaiting([&ws, &pauses] {
            ++pauses;
            ws.postFunctionKey(6);
          });
          break;
        case 1:  // slower, then faster again
          ws.postCharacter('l');
          ws.postCharacter('g');
          break;
        case 2:  // Run is grayed while running; a key outside the table
          ws.postFunctionKey(5);
          ws.postCharacter('x');
          break;
        case 3:
          ws.postPaint();
          break;
        default:
          ws.postMenu(CMD_GROW);
          break;
      }
    });
  }
  busy.closeWhenIdle();
  ASSERT_EQ(ws.runMainLoop(), 0);

  EXPECT_EQ(interrupted.shownTrials, still.shownTrials);
  EXPECT_EQ(interrupted.texts, still.texts);
  EXPECT_EQ(busy.program().runController().trialsPerformed(), MAX_BLOCK);
  EXPECT_EQ(busy.menu(), ProgramHarness::FINISHED);
  EXPECT_GT(pauses, 10);
  EXPECT_GT(interrupted.progressLines, 0);
  EXPECT_EQ(interrupted.progressStandingAtABlock, 0);  // erased before every shown block
  EXPECT_FALSE(busy.flags().paused);
}

TEST(SilentStretch, QuitDuringAHugeSilentRunClosesTheWindowAndTheProgressIsShown) {
  // A run that would take its 200000 trials to the end before the quit was serviced.
  ProgramHarness h(silentConfiguration(200000));
  h.startUp();
  h.ws().postFunctionKey(5);
  h.ws().setClockStep(1);
  std::optional<StandingText> progress;
  const Display& display = h.program().display();
  auto designX = [&](int x) { return scaleX(display.scale(), x); };
  auto designY = [&](int y) { return scaleY(display.scale(), y); };
  h.ws().atClock(3000, [&] {
    const GridGeometry& g = display.geometry();
    // Below the noise line in the left column.
    const StandingText* text =
        h.graphics().windowSurface().textAt(designX(g.leftMargin), designY(3 * g.bandHeight + 100));
    if (text != nullptr) progress = *text;
    h.ws().postFunctionKey(10);
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().quitCode(), 0);
  const std::int32_t trials = h.program().runController().trialsPerformed();
  EXPECT_GE(trials, 2900);
  EXPECT_LT(trials, 3100);  // one reading a trial: serviced within 50 trials of the key
  ASSERT_TRUE(progress.has_value());
  EXPECT_TRUE(isProgress(progress->text)) << progress->text;
  EXPECT_NE(progress->text.find(" OF 200000"), std::string::npos);
  // Inside the left column of the status area.
  const GridGeometry& g = display.geometry();
  EXPECT_LE(progress->x + progress->width, designX(g.leftMargin + 400));
  EXPECT_LE(progress->y + progress->height, designY(3 * g.bandHeight + 130));
}

TEST(SilentStretch, PauseHoldsTheSilentTrialsAndResetEndsTheRun) {
  ProgramHarness h(silentConfiguration(200000));
  h.startUp();
  const int gridsBefore = h.gridsDrawn();
  h.ws().postFunctionKey(5);
  h.ws().setClockStep(1);
  std::vector<std::int32_t> trialsWhileHeld;
  auto trials = [&] { return h.program().runController().trialsPerformed(); };
  h.ws().atClock(500, [&] { h.ws().postFunctionKey(6); });
  h.ws().whenWaiting([&] {
    trialsWhileHeld.push_back(trials());
    h.ws().postCharacter('g');  // serviced while held; the hold goes on
  });
  h.ws().whenWaiting([&] {
    trialsWhileHeld.push_back(trials());
    h.ws().postFunctionKey(6);
  });
  h.ws().atClock(2500, [&] { h.ws().postFunctionKey(2); });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  ASSERT_EQ(trialsWhileHeld.size(), 2u);
  EXPECT_EQ(trialsWhileHeld[0], trialsWhileHeld[1]);
  EXPECT_LT(trialsWhileHeld[0], 600);
  EXPECT_GT(trials(), trialsWhileHeld[0]);
  EXPECT_LT(trials(), 2600);  // the Reset ended the run
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
  EXPECT_EQ(h.gridsDrawn(), gridsBefore + 1);  // the Reset's fresh grid
  // The progress of the ended run is gone from the window.
  for (const std::string& text : h.ws().windowTexts()) {
    if (isProgress(text)) {
      EXPECT_EQ(h.graphics().windowSurface().findText(text), nullptr);
    }
  }
}

}  // namespace
}  // namespace mtd::testing
