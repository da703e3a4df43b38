// A rank's pool of computing threads: the batches it is given come back once each with the
// counts runBatch gives, and its main thread's waits return when the condition it waits for
// holds, never hang where batches are held, and wake it for rounds of batches, not each one.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "mpi/LocalBatchPool.h"
#include "sweep/BatchRunner.h"
#include "sweep/SweepFixtures.h"

namespace mtd::mpi {
namespace {

using sweep::testing::defaultCode;
using sweep::testing::soundPoint;

constexpr std::int64_t FRAME_LIMIT = 40 * 1024;

// Takes everything back, waiting the way a rank's main thread does, and checks each wait's
// promise when it returns.
std::map<std::int64_t, sweep::BatchTally> collectAll(LocalBatchPool& pool, std::size_t enough,
                                                     std::size_t lowWater) {
  std::map<std::int64_t, sweep::BatchTally> back;
  while (pool.held() > 0) {
    pool.waitForFinished(enough, lowWater);
    const std::size_t finished = pool.finishedCount();
    EXPECT_GT(finished, 0u);
    EXPECT_TRUE(finished >= enough || pool.working() <= lowWater)
        << finished << " finished, " << pool.working() << " working";
    for (const FinishedBatch& f : pool.takeFinished()) {
      EXPECT_TRUE(back.emplace(f.batch, f.tally).second) << "batch " << f.batch << " twice";
    }
  }
  return back;
}

TEST(LocalBatchPool, EveryBatchComesBackOnceWithRunBatchsCounts) {
  const sweep::PointSetup setup = soundPoint(defaultCode(), 0.05, 3);
  LocalBatchPool pool(2);
  pool.beginPoint(setup, FRAME_LIMIT);
  for (std::int64_t b = 0; b < 40; ++b) pool.push(b);
  const std::map<std::int64_t, sweep::BatchTally> back = collectAll(pool, 4, 2);
  ASSERT_EQ(back.size(), 40u);
  sweep::Workspace workspace;
  for (const std::int64_t b : {0, 17, 39}) {
    const sweep::BatchTally direct = sweep::runBatch(setup, b, FRAME_LIMIT, workspace);
    EXPECT_EQ(back.at(b).frames, direct.frames);
    EXPECT_EQ(back.at(b).frameErrors, direct.frameErrors);
    EXPECT_EQ(back.at(b).decodedInfoErrors, direct.decodedInfoErrors);
    EXPECT_EQ(back.at(b).iterations, direct.iterations);
  }
}

// A wait for more than will ever finish still returns once nothing is left running: the
// worker's wait for rank 0's reply relies on that instead of a timer.
TEST(LocalBatchPool, AWaitForMoreThanIsHeldEndsWhenTheLastBatchFinishes) {
  LocalBatchPool pool(2);
  pool.beginPoint(soundPoint(defaultCode(), 0.05), FRAME_LIMIT);
  for (std::int64_t b = 0; b < 3; ++b) pool.push(b);
  pool.waitForFinished(1000, 0);
  EXPECT_EQ(pool.working(), 0u);
  EXPECT_EQ(pool.finishedCount(), 3u);
}

TEST(LocalBatchPool, TheWaitReturnsAtOnceWhenItsConditionHoldsAlready) {
  LocalBatchPool pool(1);
  pool.beginPoint(soundPoint(defaultCode(), 0.05), FRAME_LIMIT);
  pool.push(0);
  pool.waitForFinished(1, 0);
  // Nothing more can finish: a wait that did not see the condition holding would hang here.
  pool.waitForFinished(1, 0);
  EXPECT_EQ(pool.finishedCount(), 1u);
}

// With a deep queue the main thread is woken for rounds of `enough` batches: it sees at least
// that many each time (until the queue runs low), so it wakes far fewer times than batches.
TEST(LocalBatchPool, TheMainThreadWakesForRoundsOfBatches) {
  LocalBatchPool pool(2);
  pool.beginPoint(soundPoint(defaultCode(), 0.05), FRAME_LIMIT);
  for (std::int64_t b = 0; b < 40; ++b) pool.push(b);
  int wakes = 0;
  std::size_t taken = 0;
  while (taken < 40) {
    pool.waitForFinished(8, 2);
    ++wakes;
    taken += pool.takeFinished().size();
  }
  EXPECT_LE(wakes, 40 / 8 + 3);
}

TEST(LocalBatchPool, AbandonDropsTheQueueAndWaitsForRunningBatches) {
  LocalBatchPool pool(2);
  pool.beginPoint(soundPoint(defaultCode(), 0.05), FRAME_LIMIT);
  for (std::int64_t b = 0; b < 40; ++b) pool.push(b);
  pool.abandon();
  EXPECT_EQ(pool.held(), 0u);
  // The pool serves the next point.
  pool.push(5);
  pool.waitForFinished(1, 0);
  const std::vector<FinishedBatch> finished = pool.takeFinished();
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].batch, 5);
}

}  // namespace
}  // namespace mtd::mpi
