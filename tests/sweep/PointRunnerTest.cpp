// The runner: stop rules at batch ends, counts independent of threads and lane paths,
// cancellation and the time limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

#include "SweepFixtures.h"
#include "core/Configuration.h"
#include "sweep/BatchRunner.h"
#include "sweep/LanePaths.h"
#include "sweep/OrderedCombiner.h"
#include "sweep/PointRunner.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {
namespace {

using testing::defaultCode;
using testing::neverCancel;
using testing::soundPoint;

TEST(PointRunner, NoErrorsAtPZero) {
  const PointResult r =
      runPoint(soundPoint(defaultCode(), 0.0), {5000, 1, std::nullopt}, 3, neverCancel());
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.total.frames, 5000);
  EXPECT_EQ(r.total.infoBits, 5000 * 1000);
  EXPECT_EQ(r.total.channelInfoErrors, 0);
  EXPECT_EQ(r.total.decodedInfoErrors, 0);
  EXPECT_EQ(r.total.frameErrors, 0);
  // The first sweep finds nothing to correct and the stop rule ends every frame there.
  EXPECT_EQ(r.total.iterations, 5000);
}

TEST(PointRunner, WithoutIterationsDecodedBerIsChannelBerNearP) {
  auto sim = std::make_unique<Simulation>();
  const LoadResult loaded = loadConfigurationText(
      *sim, std::string_view("nbl=1000\nkst=7\np=0.06\nndn=11 x\nkfp={22,0,24,75,110,151,183,257,"
                             "411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,"
                             "922}\nktrh={0,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=10\nddn=22\ncheck\n"));
  ASSERT_TRUE(loaded.accepted) << loaded.rejection;
  const double p = 0.07;
  const PointResult r = runPoint(soundPoint(SweepCode(sim->params), p, 9), {30000, 0, std::nullopt},
                                 2, neverCancel());
  EXPECT_EQ(r.total.decodedInfoErrors, r.total.channelInfoErrors);
  EXPECT_EQ(r.total.iterations, 0);
  const double bits = static_cast<double>(r.total.infoBits);
  const double sigma = std::sqrt(p * (1 - p) / bits);
  EXPECT_NEAR(r.total.decodedInfoErrors / bits, p, 5 * sigma);
}

TEST(PointRunner, CountsDoNotDependOnThreadsOrLanePath) {
  const PointSetup setup = soundPoint(defaultCode(), 0.075, 21, 6);
  // Ends on frame errors after a handful of batches, before the frame limit.
  const StopRule rule{40 * BATCH_FRAMES + 77, 150, std::nullopt};
  const BatchTally one = runPoint(setup, rule, 1, neverCancel()).total;
  EXPECT_GE(one.frameErrors, 150);
  EXPECT_LT(one.frames, rule.maxFrames);
  EXPECT_EQ(one.frames % BATCH_FRAMES, 0);
  for (int threads : {2, 3, 4}) {
    EXPECT_EQ(runPoint(setup, rule, threads, neverCancel()).total, one) << threads << " threads";
  }
  for (const LanePathEntry& path : lanePaths()) {
    if (!lanePathSupported(path.path)) continue;  // the differential tests name what is missing
    PointSetup onPath = setup;
    onPath.lanes = path.path;
    EXPECT_EQ(runPoint(onPath, rule, 2, neverCancel()).total, one) << path.name;
  }
}

TEST(PointRunner, StopsAtTheFirstBatchEndWhereTheRuleHolds) {
  const PointSetup setup = soundPoint(defaultCode(), 0.08, 3, 1);
  const StopRule rule{1'000'000, 60, std::nullopt};
  Workspace workspace;
  BatchTally expected;
  // The runner's total holds the spread of the batches too, folded in batch order.
  for (std::int64_t batch = 0; !stopReached(expected, rule); ++batch) {
    const BatchTally tally = runBatch(setup, batch, rule.maxFrames, workspace);
    expected += tally;
    expected.addBatchSpread(tally);
  }
  std::vector<std::int64_t> progressFrames;
  const PointResult r = runPoint(setup, rule, 2, neverCancel(), [&](const BatchTally& t, double) {
    progressFrames.push_back(t.frames);
  });
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.total, expected);
  ASSERT_FALSE(progressFrames.empty());
  EXPECT_TRUE(std::is_sorted(progressFrames.begin(), progressFrames.end()));
  EXPECT_EQ(progressFrames.back(), expected.frames);
}

TEST(PointRunner, AFrameLimitCutsTheLastBatch) {
  const PointSetup setup = soundPoint(defaultCode(), 0.05);
  const PointResult r = runPoint(setup, {2500, 0, std::nullopt}, 2, neverCancel());
  EXPECT_EQ(r.total.frames, 2500);
  EXPECT_EQ(r.total.infoBits, 2500 * 1000);
}

TEST(OrderedCombiner, FoldsInBatchOrderWhateverTheArrivalOrder) {
  const StopRule rule{100 * BATCH_FRAMES, 25, std::nullopt};
  std::vector<BatchTally> batches(100);
  for (std::size_t b = 0; b < batches.size(); ++b) {
    batches[b] = {BATCH_FRAMES, static_cast<std::int64_t>(b % 4), BATCH_FRAMES * 10, 50, 5, 9};
  }
  // Frame errors 0,1,2,3,0,1,... (6 per four batches) reach 25 at the end of batch 17.
  OrderedCombiner inOrder(rule);
  for (std::size_t b = 0; b < batches.size() && !inOrder.done(); ++b) inOrder.add(b, batches[b]);
  EXPECT_EQ(inOrder.nextNeeded(), 18);
  EXPECT_EQ(inOrder.total().frameErrors, 25);

  std::vector<std::int64_t> order(40);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(4));
  OrderedCombiner shuffled(rule);
  for (std::int64_t b : order) shuffled.add(b, batches[b]);
  EXPECT_TRUE(shuffled.done());
  EXPECT_TRUE(shuffled.ruleReached());
  EXPECT_EQ(shuffled.total(), inOrder.total());
  EXPECT_EQ(shuffled.pending(), 0u);
}

TEST(PointRunner, CancellingEndsThePointPromptlyAsIncomplete) {
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  // p = 0.2: every frame fails, so only the frame limit, far away, would end it.
  const PointResult r =
      runPoint(soundPoint(defaultCode(), 0.2), {1'000'000'000, 0, std::nullopt}, 2, cancel);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  canceller.join();
  EXPECT_FALSE(r.complete);
  EXPECT_LT(seconds, 1.0);
  EXPECT_EQ(r.total.frames % BATCH_FRAMES, 0);
  EXPECT_EQ(r.total.frameErrors, r.total.frames);
}

TEST(PointRunner, ATimeLimitEndsThePointAsComplete) {
  const StopRule rule{1'000'000'000, 0, 0.2};
  const PointResult r = runPoint(soundPoint(defaultCode(), 0.05), rule, 2, neverCancel());
  EXPECT_TRUE(r.complete);
  EXPECT_GE(r.seconds, 0.2);
  EXPECT_LT(r.seconds, 1.5);
  EXPECT_GT(r.total.frames, 0);
}

}  // namespace
}  // namespace mtd::sweep
