#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "control/Pacing.h"
#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

TEST(Startup, SizeThenShowLoadsTheDefaultsAndDrawsTheGridTwiceBeforeAnyPaint) {
  ProgramHarness h(std::nullopt);  // no init.txt
  h.startUp();

  EXPECT_EQ(h.gridsDrawn(), 2);
  EXPECT_EQ(h.graphics().paintCount(), 0);
  const SimParams& p = h.program().simulation().params;
  EXPECT_EQ(p.nbl, 1000);
  EXPECT_EQ(p.kst, 7);
  EXPECT_EQ(p.noiseThreshold, 59);
  EXPECT_EQ(p.maxBlock, 2000);
  EXPECT_EQ(h.program().pacing().delayCount(), 5'000'000);
  EXPECT_EQ(h.menu(), ProgramHarness::READY);
  // Laid out from the client size of the first WM_SIZE: 90 columns, 40 pixels of margin.
  EXPECT_EQ(h.program().display().geometry().columns, 90);
  EXPECT_EQ(h.program().display().cellRect(0, ROW_DIFFERENCE), (CellRect{40, 50, 48, 58}));
  EXPECT_FALSE(h.flags().running || h.flags().paused || h.flags().resetRequested);
}

TEST(Startup, LaterSizesChangeNothingAndRepaintsCopyTheBackBuffer) {
  ProgramHarness h(std::nullopt);
  h.startUp();
  h.ws().post(ScriptedMessage::size(500, 300));  // restored from maximised
  h.ws().postPaint();
  h.ws().whenMainLoopIdle([&] {
    EXPECT_EQ(h.program().display().cellRect(0, ROW_DIFFERENCE), (CellRect{40, 50, 48, 58}));
    h.ws().postClose();
  });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.gridsDrawn(), 2);
  EXPECT_EQ(h.graphics().paintCount(), 1);
  EXPECT_EQ(h.graphics().windowSurface().count(DrawOp::CopyFrom), 1);
}

TEST(Startup, AShowBeforeTheFirstSizeStillEndsWithTheGridOfTheRecordedSize) {
  ProgramHarness h(std::nullopt);
  h.ws().sendCreate();
  h.ws().sendShowWindow();  // the window system's own show notification came first
  h.ws().sendSize(800, 600);

  const Display& display = h.program().display();
  EXPECT_EQ(display.cellRect(0, ROW_DIFFERENCE), (CellRect{40, 50, 48, 58}));
  // The window shows the grid of the recorded size.
  const CellRect last = display.cellRect(999, ROW_SYNDROME);
  EXPECT_EQ(h.graphics().windowSurface().cellColour(last.left, last.top, last.right, last.bottom),
            (Rgb{128, 0, 128}));
  EXPECT_GE(h.gridsDrawn(), 1);
}

TEST(Startup, ARejectedInitFileSaysWhyAndAnAcceptedOneTakesTheMessageAway) {
  ProgramHarness h(smallConfiguration(1));
  h.dir().writeConfiguration(
      "nbl=3000\nkst=7\np= 0.06\nndn=11 word\n"
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,"
      "824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=0\nddn=22\ncheck\n");
  h.startUp();

  // "init.txt: nbl=3000 is above the block capacity 2200; defaults used", over the two lines
  // of the 400-pixel left column.
  const std::string message = "init.txt: nbl=3000 is above the block capacity";
  const std::string rest = "2200; defaults used";
  EXPECT_GE(h.textCount(message), 2);  // at each show
  EXPECT_NE(h.graphics().windowSurface().findText(message), nullptr);
  EXPECT_NE(h.graphics().windowSurface().findText(rest), nullptr);
  EXPECT_EQ(h.program().simulation().params.nbl, 1000);  // the defaults
  EXPECT_EQ(h.program().simulation().params.maxBlock, 0);

  // Mended file, then Run: the run's load accepts it and the message goes.
  h.dir().writeConfiguration(smallConfiguration(0));
  h.ws().postFunctionKey(5);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_EQ(h.program().simulation().params.nbl, SMALL_NBL);
  EXPECT_EQ(h.graphics().windowSurface().findText(message), nullptr);
  EXPECT_EQ(h.graphics().backBuffer()->findText(message), nullptr);
  EXPECT_EQ(h.graphics().backBuffer()->findText(rest), nullptr);
}

TEST(Startup, AFifoOrAnOversizedInitFileIsNamedOnScreenAndTheDefaultsApply) {
  ProgramHarness h(std::nullopt);
  const std::filesystem::path file = h.dir().path() / "init.txt";
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  h.startUp();  // would wait for a writer of the FIFO for ever
  // The message stands over the two lines of the left column.
  const std::string fifo = "init.txt: is a FIFO (named pipe), not a regular";
  EXPECT_NE(h.graphics().windowSurface().findText(fifo), nullptr);
  EXPECT_NE(h.graphics().windowSurface().findText("file; defaults used"), nullptr);
  EXPECT_EQ(h.program().simulation().params.nbl, 1000);

  // The window system shows the window again: the file is loaded again.
  std::filesystem::remove(file);
  h.dir().writeConfiguration(smallConfiguration(1));
  std::filesystem::resize_file(file, (std::uintmax_t{16} << 20) + 1);
  h.ws().post(ScriptedMessage::showWindow());
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  const std::string tooLarge = "init.txt: larger than 16 MiB, too large for a";
  EXPECT_NE(h.graphics().windowSurface().findText(tooLarge), nullptr);
  EXPECT_NE(h.graphics().windowSurface().findText("configuration file; defaults used"), nullptr);
  EXPECT_EQ(h.graphics().windowSurface().findText(fifo), nullptr);
  EXPECT_EQ(h.program().simulation().params.nbl, 1000);
}

TEST(IdleCommands, GrayedPauseAndResetAreNotDeliveredAtStartNeitherByKeyNorFromTheMenu) {
  ProgramHarness h;
  h.startUp();
  h.ws().postFunctionKey(6);
  h.ws().postFunctionKey(2);
  h.ws().postMenu(CMD_PAUSE);
  h.ws().postMenu(CMD_RESET);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().refusedCommands(),
            (std::vector<int>{CMD_PAUSE, CMD_RESET, CMD_PAUSE, CMD_RESET}));
  EXPECT_TRUE(h.ws().deliveredCommands().empty());
  EXPECT_FALSE(h.flags().paused);
  EXPECT_FALSE(h.flags().resetRequested);
  EXPECT_EQ(h.gridsDrawn(), 2);  // no Reset redraw
}

TEST(IdleCommands, OnlyLowerCaseGAndLChangeThePace) {
  ProgramHarness h;
  h.startUp();
  h.ws().postCharacter('G');
  h.ws().postCharacter('L');
  h.ws().postCharacter('g');
  h.ws().postCharacter('g');
  h.ws().postCharacter('l');
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().ignoredKeys(), 2);
  EXPECT_EQ(h.ws().deliveredCommands(), (std::vector<int>{CMD_GROW, CMD_GROW, CMD_LOW}));
  EXPECT_EQ(h.program().pacing().delayCount(), 2'500'000);
}

TEST(IdleCommands, GrowNineteenTimesReachesTheFloorAndLowFiveTimesTheCap) {
  ProgramHarness h;
  h.startUp();
  Pacing& pacing = h.program().pacing();
  std::vector<std::int32_t> grown;
  for (int i = 0; i < 20; ++i) {
    h.program().window().onCommand(CMD_GROW);
    grown.push_back(pacing.delayCount());
  }
  EXPECT_EQ(grown[17], 19);
  EXPECT_EQ(grown[18], 10);  // 19 / 2 = 9 is raised to 10
  EXPECT_EQ(grown[19], 10);

  h.program().reloadAndRedraw();
  std::vector<std::int32_t> lowered;
  for (int i = 0; i < 6; ++i) {
    h.program().window().onCommand(CMD_LOW);
    lowered.push_back(pacing.delayCount());
  }
  EXPECT_EQ(lowered, (std::vector<std::int32_t>{10'000'000, 20'000'000, 40'000'000, 80'000'000,
                                                100'000'000, 100'000'000}));
}

TEST(IdleCommands, PaceArithmeticKeepsItsBoundsFromAnyValue) {
  EXPECT_EQ(grownDelay(0), DELAY_MIN);
  EXPECT_EQ(grownDelay(21), 10);
  EXPECT_EQ(grownDelay(22), 11);
  EXPECT_EQ(loweredDelay(0), 0);
  EXPECT_EQ(loweredDelay(50'000'000), 100'000'000);
  EXPECT_EQ(loweredDelay(50'000'001), DELAY_MAX);
  EXPECT_EQ(loweredDelay(2'000'000'000), DELAY_MAX);  // no overflow on the way
}

TEST(IdleCommands, CloseWhileIdleReleasesEverythingAndEndsWithCodeZero) {
  ProgramHarness h;
  h.startUp();
  EXPECT_EQ(h.graphics().liveObjectCount(), 17);  // 13 brushes, 2 pens, 2 fonts
  h.ws().postClose();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
  EXPECT_EQ(h.graphics().backBuffersDeleted(), 1);
  EXPECT_EQ(h.graphics().misuseCount(), 0);
  EXPECT_FALSE(h.ws().timerSet());
}

TEST(IdleCommands, QuitWhileIdleEndsTheProgramAndLaterMessagesDrawNothing) {
  ProgramHarness h;
  h.startUp();
  h.ws().postFunctionKey(10);
  h.ws().postPaint();  // still queued when the quit message is posted
  h.ws().postClose();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.ws().quitCode(), 0);
  EXPECT_EQ(h.graphics().liveObjectCount(), 0);
  EXPECT_EQ(h.graphics().backBuffersDeleted(), 1);
  EXPECT_EQ(h.graphics().windowSurface().count(DrawOp::CopyFrom), 0);
  EXPECT_EQ(h.graphics().misuseCount(), 0);
}

TEST(IdleCommands, ATimerMessageClearsPausedWhoeverSetIt) {
  ProgramHarness h(smallConfiguration(0));
  h.startUp();
  h.ws().postFunctionKey(5);  // a run without trials leaves the finished menu
  h.ws().postFunctionKey(6);  // paused while idle
  h.ws().whenMainLoopIdle([&] {
    EXPECT_TRUE(h.flags().paused);
    h.ws().post(ScriptedMessage::timer());
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_FALSE(h.flags().paused);
}

TEST(ScriptedWindowSystem, AWaitThatNothingCanEndFailsLoudlyInsteadOfHanging) {
  ProgramHarness h;
  h.startUp();
  EXPECT_THROW(h.ws().runMainLoop(), ScriptExhausted);  // nothing queued, nothing scheduled

  ProgramHarness held;
  held.startUp();
  held.postRunAtFullSpeed();
  held.whenCellDrawn(ROW_SYNDROME, 5, [&] { held.ws().postFunctionKey(6); });
  EXPECT_THROW(held.ws().runMainLoop(), ScriptExhausted);  // held, and no Pause will come
  EXPECT_TRUE(held.flags().paused);
}

TEST(ScriptedWindowSystem, AMessagePostedBeforeAGivenPumpIsTakenByThatPump) {
  ProgramHarness h;
  h.startUp();
  h.postRunAtFullSpeed();  // the Grow keys go with pumps 1 to 19
  h.ws().beforePump(26, [&] { h.ws().postClose(); });
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  // Each information cell's check pumps once, so pump 26 follows cell 25, and the run stops
  // there.
  EXPECT_EQ(h.ws().pumpCount(), 26);
  EXPECT_EQ(h.lastColouredCell(ROW_INFORMATION), 25);
  EXPECT_EQ(h.ws().deliveredCommands().size(), 20u);  // Run and the 19 Grow keys
}

}  // namespace
}  // namespace mtd::testing
