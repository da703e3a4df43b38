// The caption's suffix (held, speed relative to the loaded pace) and the pace as time: the sum
// of the sleeps is the delays converted at the fixed rate, with owed time carried over.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "control/DelayClock.h"
#include "control/RunIndicators.h"
#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

const std::string PAUSED = "\xE2\x80\x94 paused";
std::string speed(const std::string& ratio) { return "\xE2\x80\x94 speed \xC3\x97" + ratio; }

TEST(CaptionText, SaysHeldAndTheSpeedRelativeToTheLoadedPace) {
  EXPECT_EQ(runStateCaption({true, false, false, DELAY_AFTER_LOAD}), "");
  EXPECT_EQ(runStateCaption({true, true, false, DELAY_AFTER_LOAD}), PAUSED);
  // A timed wait on its timer is not a hold; frozen by Pause it is.
  EXPECT_EQ(runStateCaption({true, true, true, DELAY_AFTER_LOAD}), "");
  EXPECT_EQ(runStateCaption({true, false, false, 1'250'000}), speed("4"));
  EXPECT_EQ(runStateCaption({true, false, false, 10'000'000}), speed("1/2"));
  EXPECT_EQ(runStateCaption({true, true, false, 2'500'000}), PAUSED + " " + speed("2"));
  // The limits: Grow stops at 10, Low at 100,000,000, and the caption tells the true ratio.
  EXPECT_EQ(runStateCaption({true, false, false, DELAY_MIN}), speed("500000"));
  EXPECT_EQ(runStateCaption({true, false, false, DELAY_MAX}), speed("1/20"));
  // Truncated halvings still read as the power of two they are close to.
  EXPECT_EQ(runStateCaption({true, false, false, 39'062}), speed("128"));
}

TEST(CaptionInARun, FollowsGrowLowPauseAndTheTimedWaitsAndClearsAtTheNextLoad) {
  ProgramHarness h;
  h.startUp();
  EXPECT_EQ(h.ws().captionSuffix(), "");
  h.ws().postFunctionKey(5);
  h.ws().postCharacter('g');
  h.ws().postCharacter('g');
  h.whenCellDrawn(ROW_INFORMATION, 5, [&] {
    EXPECT_EQ(h.ws().captionSuffix(), speed("4"));
    h.ws().postCharacter('l');
    h.ws().postCharacter('l');
    h.ws().postCharacter('l');
    h.ws().postFunctionKey(6);
  });
  h.ws().whenWaiting([&] {
    EXPECT_EQ(h.ws().captionSuffix(), PAUSED + " " + speed("1/2"));
    h.ws().postFunctionKey(6);
  });
  h.ws().whenWaiting([&] {
    EXPECT_TRUE(h.ws().timerSet());
    EXPECT_EQ(h.ws().captionSuffix(), speed("1/2"));  // the wait after the decoding
    h.ws().postFunctionKey(6);                        // frozen: now it is a hold
  });
  h.ws().whenWaiting([&] {
    EXPECT_EQ(h.ws().captionSuffix(), PAUSED + " " + speed("1/2"));
    h.ws().postFunctionKey(6);
  });
  h.ws().whenMainLoopIdle([&] {
    EXPECT_EQ(h.ws().captionSuffix(), speed("1/2"));  // the run's pace lasts until a load
    h.ws().postFunctionKey(2);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_EQ(h.ws().captionSuffix(), "");
  // The caption is set only when its text changes.
  const auto& all = h.ws().captionSuffixes();
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

// 5,000,000 decrements at 3300 per microsecond: 1515.15... us per step.
TEST(DelayClock, TheSleepsAddUpToTheDelaysConvertedWithTheFractionsCarried) {
  RecordingGraphics graphics({800, 640}, ScreenSize{800, 600});
  ScriptedWindowSystem ws(graphics);
  DelayClock clock(ws);
  for (int step = 0; step < 1000; ++step) clock.delay(DELAY_AFTER_LOAD);
  EXPECT_EQ(ws.sleptMicroseconds(), 1000LL * DELAY_AFTER_LOAD / DELAY_COUNTS_PER_MICROSECOND);
  EXPECT_EQ(ws.sleepCalls(), 1000);
  // The shortest pace is far below a microsecond a step: nothing is slept until a whole one
  // is owed, and none of it is lost.
  DelayClock fastest(ws);
  const std::int64_t before = ws.sleptMicroseconds();
  for (int step = 0; step < 3300; ++step) fastest.delay(DELAY_MIN);
  EXPECT_EQ(ws.sleptMicroseconds() - before, 10);
}

TEST(DelayClock, CoarseSleepsAreTakenOffTheNextStepsSoTheAveragePaceHolds) {
  RecordingGraphics graphics({800, 640}, ScreenSize{800, 600});
  ScriptedWindowSystem ws(graphics);
  ws.setSleepTick(15'600);  // the Windows default timer tick
  DelayClock clock(ws);
  constexpr int STEPS = 10'000;
  for (int step = 0; step < STEPS; ++step) clock.delay(DELAY_AFTER_LOAD);
  const std::int64_t owed = std::int64_t{STEPS} * DELAY_AFTER_LOAD / DELAY_COUNTS_PER_MICROSECOND;
  EXPECT_GE(ws.sleptMicroseconds(), owed);
  EXPECT_LE(ws.sleptMicroseconds(), owed + 15'600);
  // About one sleep per tick's worth of steps, not one per step.
  EXPECT_LT(ws.sleepCalls(), STEPS / 5 + 10);
  EXPECT_LE(clock.owedCounts(), 0);
  EXPECT_GT(clock.owedCounts(), -15'600 * DELAY_COUNTS_PER_MICROSECOND);
}

TEST(DelayClock, AnOverlongSleepIsPaidBackOnlyUpToTheCredit) {
  RecordingGraphics graphics({800, 640}, ScreenSize{800, 600});
  ScriptedWindowSystem ws(graphics);
  ws.setSleepTick(2'000'000);  // a machine so loaded that one sleep lasts two seconds
  DelayClock clock(ws);
  clock.delay(DELAY_AFTER_LOAD);
  EXPECT_EQ(clock.owedCounts(), -MAX_CREDIT_MICROSECONDS * DELAY_COUNTS_PER_MICROSECOND);
  // The credit is used up by the next 66 steps; the 67th sleeps again.
  ws.setSleepTick(0);
  for (int step = 0; step < 66; ++step) clock.delay(DELAY_AFTER_LOAD);
  EXPECT_EQ(ws.sleepCalls(), 1);
  clock.delay(DELAY_AFTER_LOAD);
  EXPECT_EQ(ws.sleepCalls(), 2);
}

// Every animated step and the pauses between the passes sleep their delay; nothing else does.
TEST(PaceInARun, AShownBlockSleepsItsStepsDelaysAtTheLoadedPace) {
  ProgramHarness h;
  h.startUp();
  h.ws().postFunctionKey(5);
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  // Three passes of 40 cells, the three delays between the passes, 80 decoder steps.
  constexpr std::int64_t DELAY_STEPS = 3 * SMALL_NBL + 3 + 80;
  EXPECT_EQ(h.ws().sleptMicroseconds(),
            DELAY_STEPS * DELAY_AFTER_LOAD / DELAY_COUNTS_PER_MICROSECOND);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
}

}  // namespace
}  // namespace mtd::testing
