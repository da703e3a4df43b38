#include "control/BlockSelection.h"

namespace mtd {

SelectionTerms selectionTerms(const SimParams& params) {
  // nbl converts exactly; p is widened from single precision before the product.
  const double x = static_cast<double>(params.nbl) * static_cast<double>(params.p);
  constexpr double ERRORS_FACTOR = 1.95;
  constexpr float IMBALANCE_FACTOR = 0.125f;  // exact in single precision
  return {x, x * ERRORS_FACTOR, x * IMBALANCE_FACTOR};
}

bool enoughChannelErrors(const SelectionTerms& terms, const ErrorTally& tally) {
  const std::int64_t errors =
      std::int64_t{tally.counts[SLOT_INFO_ERRORS]} + tally.counts[SLOT_CHECK_ERRORS];
  return !(terms.errorsNeeded > static_cast<double>(errors));
}

bool checkExcessWithinBound(const SelectionTerms& terms, const ErrorTally& tally) {
  const std::int64_t excess =
      std::int64_t{tally.counts[SLOT_CHECK_ERRORS]} - tally.counts[SLOT_INFO_ERRORS];
  return !(static_cast<double>(excess) > terms.excessAllowed);
}

bool lastIterationCorrectedAll(const ErrorTally& tally, std::int32_t lastIteration) {
  return tally.counts[iterationSlot(lastIteration)] <= 0;
}

SelectionVerdict selectBlock(const SimParams& params, const ErrorTally& tally,
                             std::int32_t lastIteration) {
  const SelectionTerms terms = selectionTerms(params);
  if (!enoughChannelErrors(terms, tally)) return SelectionVerdict::TooFewErrors;
  if (!checkExcessWithinBound(terms, tally)) return SelectionVerdict::TooManyCheckErrors;
  if (!lastIterationCorrectedAll(tally, lastIteration)) return SelectionVerdict::ErrorsLeft;
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
