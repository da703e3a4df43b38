#include "control/BlockSelection.h"

namespace mtd {

SelectionVerdict selectBlock(const SimParams& params, const ErrorTally& tally,
                             std::int32_t lastIteration) {
  // nbl converts exactly; p is widened from single precision before the product.
  const double x = static_cast<double>(params.nbl) * static_cast<double>(params.p);
  const std::int32_t info = tally.counts[1];
  const std::int32_t check = tally.counts[2];
  constexpr double ERRORS_FACTOR = 1.95;
  constexpr float IMBALANCE_FACTOR = 0.125f;
  if (x * ERRORS_FACTOR > static_cast<double>(std::int64_t{info} + check)) {
    return SelectionVerdict::TooFewErrors;
  }
  if (static_cast<double>(std::int64_t{check} - info) > x * IMBALANCE_FACTOR) {
    return SelectionVerdict::TooManyCheckErrors;
  }
  if (tally.counts[3 + lastIteration] > 0) return SelectionVerdict::ErrorsLeft;
  return SelectionVerdict::Shown;
}

const char* describeVerdict(SelectionVerdict verdict) {
  switch (verdict) {
    case SelectionVerdict::Shown:
      return "shown";
    case SelectionVerdict::TooFewErrors:
      return "rejected by (a): fewer channel errors than 1.95 x K x P";
    case SelectionVerdict::TooManyCheckErrors:
      return "rejected by (b): check errors exceed information errors by more than 0.125 x K x P";
    case SelectionVerdict::ErrorsLeft:
      return "rejected by (c): the decoder's last iteration left information errors";
  }
  return "";
}

}  // namespace mtd
