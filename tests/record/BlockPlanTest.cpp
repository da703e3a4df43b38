// Which block a recording takes and how many frames it gives: the block located by the
// recorder agrees with the trial trace's independent account of the same run.
#include <gtest/gtest.h>

#include <numeric>

#include "cli/ConfigurationSnapshot.h"
#include "cli/run/TrialTrace.h"
#include "cli/record/BlockLocator.h"
#include "cli/record/Recorder.h"

namespace mtd::cli::record {
namespace {

const ConfigurationFile DEFAULTS{};  // no init.txt: the built-in defaults

TEST(BlockPlan, LocatedBlocksAgreeWithTheTrialTrace) {
  const ConfigurationSnapshot snapshot(std::filesystem::path("/nonexistent-mtd-directory"));
  for (std::int32_t number = 1; number <= 4; ++number) {
    const LocatedBlock byNumber = locateBlock(DEFAULTS, {BlockChoice::By::BlockNumber, number});
    ASSERT_TRUE(byNumber.plan) << byNumber.error;
    const BlockPlan& plan = *byNumber.plan;
    EXPECT_EQ(plan.blockNumber, number);
    EXPECT_EQ(plan.noiseSteps, 2000);  // both noise passes over K=1000 cells
    EXPECT_EQ(plan.syndromeSteps, 1000);

    Simulation sim;
    const auto trace = traceTrial(sim, snapshot, plan.trial);
    ASSERT_TRUE(trace);
    EXPECT_EQ(trace->verdict, SelectionVerdict::Shown) << "trial " << plan.trial;
    EXPECT_EQ(trace->shownBefore + 1, number) << "trial " << plan.trial;
    const std::int64_t positions = std::accumulate(
        trace->iterations.begin(), trace->iterations.end(), std::int64_t{0},
        [](std::int64_t sum, const TracedIteration& it) { return sum + it.positions; });
    EXPECT_EQ(plan.decodingSteps, positions) << "trial " << plan.trial;

    const LocatedBlock byTrial = locateBlock(DEFAULTS, {BlockChoice::By::Trial, plan.trial});
    ASSERT_TRUE(byTrial.plan) << byTrial.error;
    EXPECT_EQ(byTrial.plan->blockNumber, number);
    EXPECT_EQ(byTrial.plan->decodingSteps, plan.decodingSteps);
  }
}

TEST(BlockPlan, BlocksTheRunDoesNotShowAreRefusedWithTheReason) {
  // Trial 2 of the defaults is decoded but rejected by the selection rule.
  const LocatedBlock rejected = locateBlock(DEFAULTS, {BlockChoice::By::Trial, 2});
  EXPECT_FALSE(rejected.plan);
  EXPECT_NE(rejected.error.find("--trial 2: the run does not show this trial"), std::string::npos)
      << rejected.error;

  const LocatedBlock outside = locateBlock(DEFAULTS, {BlockChoice::By::Trial, 2000});
  EXPECT_NE(outside.error.find("outside the run's trials 0 to 1999"), std::string::npos)
      << outside.error;

  // The defaults' run shows 359 blocks.
  EXPECT_TRUE(locateBlock(DEFAULTS, {BlockChoice::By::BlockNumber, 359}).plan);
  const LocatedBlock beyond = locateBlock(DEFAULTS, {BlockChoice::By::BlockNumber, 360});
  EXPECT_EQ(beyond.error, "--block 360: the run shows 359 blocks");
}

TEST(BlockPlan, FrameCountsOfThePartsAndOfARange) {
  // The first step, every n-th after it, and the last.
  EXPECT_EQ(animatedFrames(2000, 20), 101);
  EXPECT_EQ(animatedFrames(2001, 20), 101);  // step 2001 is on the grid: 1 + 100 x 20
  EXPECT_EQ(animatedFrames(1000, 1000), 2);
  EXPECT_EQ(animatedFrames(1, 50), 1);
  EXPECT_EQ(animatedFrames(0, 20), 0);
  EXPECT_EQ(waitFrames(5000, 25), 125);
  EXPECT_EQ(waitFrames(5000, 7), 35);
  EXPECT_EQ(waitFrames(5000, 3), 15);

  FramePlan plan;
  plan.block.noiseSteps = 2000;
  plan.block.syndromeSteps = 1000;
  plan.block.decodingSteps = 7000;
  plan.stepsPerFrame = 20;
  plan.fps = 25;
  EXPECT_EQ(plannedFrames(plan), 101 + 51 + 351 + 125 + 125);
  plan.start = Phase::Decoding;
  plan.end = Phase::Decoding;
  EXPECT_EQ(plannedFrames(plan), 351);
}

}  // namespace
}  // namespace mtd::cli::record
