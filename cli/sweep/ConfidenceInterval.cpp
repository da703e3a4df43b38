#include "cli/sweep/ConfidenceInterval.h"

#include <algorithm>
#include <boost/math/distributions/beta.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace mtd::cli {

namespace {

constexpr double TAIL = 0.025;  // each side of a 95 % interval

}  // namespace

Interval clopperPearson(std::int64_t errors, std::int64_t trials) {
  if (trials <= 0) return {0, 1};
  const auto k = static_cast<double>(errors);
  const auto n = static_cast<double>(trials);
  Interval interval;
  interval.low = errors <= 0 ? 0.0 : quantile(boost::math::beta_distribution<>(k, n - k + 1), TAIL);
  interval.high =
      errors >= trials ? 1.0 : quantile(boost::math::beta_distribution<>(k + 1, n - k), 1 - TAIL);
  return interval;
}

Interval berInterval(const sweep::BatchTally& total, std::int32_t nbl,
                     std::optional<double> frameSquares) {
  const Interval fer = clopperPearson(total.frameErrors, total.frames);
  const double bits = nbl > 0 ? static_cast<double>(nbl) : 1.0;
  const Interval bounds{fer.low / bits, fer.high};
  // Units: the frames (each of size 1) or the batches, with their sums of squares.
  double units = static_cast<double>(total.batches);
  double errorSquares = total.batchErrorSquares;
  double errorsBySize = total.batchErrorsByFrames;
  double sizeSquares = total.batchFrameSquares;
  if (frameSquares) {
    units = static_cast<double>(total.frames);
    errorSquares = *frameSquares;
    errorsBySize = static_cast<double>(total.decodedInfoErrors);
    sizeSquares = units;
  }
  if (units < 2 || total.decodedInfoErrors == 0 || total.frames <= 0) return bounds;

  // Errors per frame R = D / N; its variance from the units' deviations d_u - R n_u.
  const double ratio =
      static_cast<double>(total.decodedInfoErrors) / static_cast<double>(total.frames);
  const double deviations = errorSquares - 2 * ratio * errorsBySize + ratio * ratio * sizeSquares;
  const double meanSize = static_cast<double>(total.frames) / units;
  const double variance = std::max(0.0, deviations) / (units * (units - 1) * meanSize * meanSize);
  const double t = quantile(boost::math::students_t(units - 1), 1 - TAIL);
  const double half = t * std::sqrt(variance) / bits;
  const double ber = ratio / bits;
  return {std::clamp(ber - half, bounds.low, bounds.high),
          std::clamp(ber + half, bounds.low, bounds.high)};
}

}  // namespace mtd::cli
