#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "SweepFixtures.h"
#include "sweep/BatchTally.h"
#include "sweep/FrameNoise.h"
#include "sweep/OrderedCombiner.h"

namespace mtd::sweep {
namespace {

using testing::defaultCode;
using testing::soundPoint;

constexpr std::int64_t LARGEST = std::numeric_limits<std::int64_t>::max();

// Near 2^63 the rounded-up batch count once overflowed to a negative number, and a point with
// such a frame limit never ended.
TEST(FrameLimits, BatchCountRoundsUpWithoutOverflow) {
  EXPECT_EQ(batchCount(0), 0);
  EXPECT_EQ(batchCount(1), 1);
  EXPECT_EQ(batchCount(BATCH_FRAMES), 1);
  EXPECT_EQ(batchCount(BATCH_FRAMES + 1), 2);
  EXPECT_EQ(batchCount(LARGEST), LARGEST / BATCH_FRAMES + 1);
  EXPECT_EQ(batchCount(LARGEST - 1000), LARGEST / BATCH_FRAMES + 1);
  const OrderedCombiner combiner(StopRule{LARGEST - 5, 0, std::nullopt});
  EXPECT_EQ(combiner.batchLimit(), LARGEST / BATCH_FRAMES + 1);
  EXPECT_FALSE(combiner.done());
}

// The last frame index a point may have draws its noise like any other: the same bits as the
// batch draw of its group, with no overflow past it (the sanitizer build checks that).
TEST(FrameLimits, LastFrameIndexHasItsNoise) {
  const PointSetup setup = soundPoint(defaultCode(), 0.3);
  std::vector<Bit> info(1000), check(1000), again(1000), againCheck(1000);
  frameNoise(setup, MAX_FRAMES - 1, info.data(), check.data());
  frameNoise(setup, MAX_FRAMES - 1, again.data(), againCheck.data());
  EXPECT_EQ(info, again);
  EXPECT_EQ(check, againCheck);
  std::int64_t errors = 0;
  for (const Bit bit : info) errors += bit;
  // 1000 bits at p = 0.3: 300 expected, sigma 14.5; 7 sigma either way.
  EXPECT_NEAR(static_cast<double>(errors), 300.0, 100.0);
}

// A point's noise is keyed by its p, not by its place in the list: equal p, equal frames.
TEST(FrameLimits, NoiseKeyFollowsTheValueOfP) {
  EXPECT_EQ(noiseKey(0.04), noiseKey(0.04));
  EXPECT_NE(noiseKey(0.04), noiseKey(0.05));
  EXPECT_NE(noiseKey(0.0), noiseKey(1.0));
  PointSetup a = soundPoint(defaultCode(), 0.04);
  PointSetup b = a;
  a.pointIndex = noiseKey(0.04);
  b.pointIndex = noiseKey(0.05);
  b.p = 0.04;
  std::vector<Bit> infoA(1000), checkA(1000), infoB(1000), checkB(1000);
  frameNoise(a, 7, infoA.data(), checkA.data());
  frameNoise(b, 7, infoB.data(), checkB.data());
  EXPECT_NE(infoA, infoB);  // another key draws other frames
}

}  // namespace
}  // namespace mtd::sweep
