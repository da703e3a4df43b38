#include <gtest/gtest.h>

#include <cmath>

#include "cli/sweep/ConfidenceInterval.h"

namespace mtd::cli {
namespace {

// Exact binomial 95 % intervals: the p where P(X >= k) and P(X <= k) reach 2.5 %, found by
// bisection on the binomial sums independently of the beta quantiles the program uses; at 0
// and n they have the closed forms 1 - 0.025^(1/n) and 0.025^(1/n).
TEST(ConfidenceInterval, ClopperPearsonMatchesKnownValues) {
  struct Known {
    std::int64_t errors, trials;
    double low, high;
  };
  for (const Known k :
       {Known{0, 10, 0.0, 0.3084971079}, Known{10, 10, 0.6915028921, 1.0},
        Known{5, 10, 0.1870860284, 0.8129139716}, Known{1, 100, 0.0002531460, 0.0544593854},
        Known{100, 1000, 0.0821053344, 0.1202879365}}) {
    SCOPED_TRACE(std::to_string(k.errors) + " of " + std::to_string(k.trials));
    const Interval i = clopperPearson(k.errors, k.trials);
    EXPECT_NEAR(i.low, k.low, 1e-9);
    EXPECT_NEAR(i.high, k.high, 1e-9);
  }
}

// Frames as the unit: errors 0, 0, 3 and 5 in four frames of 10 bits. R = 2 errors a frame,
// the deviations' squares sum to 18, the variance of R is 18 / (4 * 3) = 1.5 and Student's t
// with 3 degrees of freedom is 3.1824463: BER 0.2 +- 3.1824463 * sqrt(1.5) / 10, cut below at
// the FER's lower bound over nbl (0.0675860 / 10).
TEST(ConfidenceInterval, BerFromTheSpreadOfTheFrames) {
  sweep::BatchTally total;
  total.frames = 4;
  total.frameErrors = 2;
  total.decodedInfoErrors = 8;
  total.infoBits = 40;
  const Interval i = berInterval(total, 10, 0 + 9 + 25);
  EXPECT_NEAR(i.low, 0.00675860, 1e-7);
  EXPECT_NEAR(i.high, 0.2 + 3.1824463 * std::sqrt(1.5) / 10, 1e-7);

  // The same frames folded as four batches of one frame give the same interval.
  sweep::BatchTally batches;
  for (const std::int64_t errors : {0, 0, 3, 5}) {
    sweep::BatchTally one;
    one.frames = 1;
    one.frameErrors = errors > 0 ? 1 : 0;
    one.decodedInfoErrors = errors;
    one.infoBits = 10;
    batches += one;
    batches.addBatchSpread(one);
  }
  const Interval b = berInterval(batches, 10);
  EXPECT_DOUBLE_EQ(b.low, i.low);
  EXPECT_DOUBLE_EQ(b.high, i.high);
}

// Without errors, or with one batch, only the bounds every spread obeys are left: a frame in
// error holds 1 to nbl errors.
TEST(ConfidenceInterval, BerBoundsWithoutASpread) {
  sweep::BatchTally none;
  none.frames = 1000;
  const Interval zero = berInterval(none, 100);
  EXPECT_EQ(zero.low, 0.0);
  EXPECT_NEAR(zero.high, clopperPearson(0, 1000).high, 1e-15);

  sweep::BatchTally one;
  one.frames = 1000;
  one.frameErrors = 100;
  one.decodedInfoErrors = 400;
  one.addBatchSpread(one);
  const Interval fer = clopperPearson(100, 1000);
  const Interval ber = berInterval(one, 100);
  EXPECT_DOUBLE_EQ(ber.low, fer.low / 100);
  EXPECT_DOUBLE_EQ(ber.high, fer.high);
}

}  // namespace
}  // namespace mtd::cli
