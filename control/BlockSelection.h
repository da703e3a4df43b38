#pragma once

#include <cstdint>

#include "core/ErrorTally.h"
#include "core/SimParams.h"

namespace mtd {

enum class SelectionVerdict {
  Shown,
  TooFewErrors,        // (a) info + check below 1.95 x nbl x p
  TooManyCheckErrors,  // (b) check - info above 0.125 x nbl x p
  ErrorsLeft,          // (c) the decoder's last iteration left information errors
};

// The quantities the rule compares, for reports that show them.
struct SelectionTerms {
  double expectedErrors;  // x = nbl x p, in double precision
  double errorsNeeded;    // (a) info + check must reach x x 1.95
  double excessAllowed;   // (b) check - info must not pass x x 0.125
};
SelectionTerms selectionTerms(const SimParams& params);

// The three conditions, each true when it lets the block be shown.
bool enoughChannelErrors(const SelectionTerms& terms, const ErrorTally& tally);       // (a)
bool checkExcessWithinBound(const SelectionTerms& terms, const ErrorTally& tally);    // (b)
bool lastIterationCorrectedAll(const ErrorTally& tally, std::int32_t lastIteration);  // (c)

// Whether a silently decoded trial block is worth showing: the conditions in their order.
SelectionVerdict selectBlock(const SimParams& params, const ErrorTally& tally,
                             std::int32_t lastIteration);

const char* describeVerdict(SelectionVerdict verdict);

}  // namespace mtd
