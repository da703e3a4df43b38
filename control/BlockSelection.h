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

// Whether a silently decoded trial block is worth showing.
SelectionVerdict selectBlock(const SimParams& params, const ErrorTally& tally,
                             std::int32_t lastIteration);

const char* describeVerdict(SelectionVerdict verdict);

}  // namespace mtd
