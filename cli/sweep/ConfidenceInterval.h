#pragma once

#include <cstdint>
#include <optional>

#include "sweep/BatchTally.h"

namespace mtd::cli {

// A two-sided 95 % confidence interval of a rate.
struct Interval {
  double low = 0;
  double high = 1;
};

// Fewer frame errors than this make a point's rates thin evidence: its intervals are wide and
// the BER's rests on few batches.
inline constexpr std::int64_t THIN_FRAME_ERRORS = 10;

// The exact (Clopper-Pearson) interval of a binomial proportion: `errors` of `trials`.
Interval clopperPearson(std::int64_t errors, std::int64_t trials);

// The BER's interval. The errors of one frame come together, so the bits are not the unit: the
// frames are, given the sum of their errors squared (`frameSquares`), else the batches of
// frames, through the ratio estimator over their decoded errors with Student's t. Without
// errors, or with one batch and no frame sums, the bounds that hold whatever the spread are
// used: a frame in error holds 1 to nbl errors, so the BER lies between the FER's bounds
// divided by nbl and the FER's upper bound. The interval never leaves these bounds.
Interval berInterval(const sweep::BatchTally& total, std::int32_t nbl,
                     std::optional<double> frameSquares = std::nullopt);

}  // namespace mtd::cli
