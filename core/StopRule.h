#pragma once

#include <cstdint>

#include "core/DecoderRules.h"
#include "core/ErrorTally.h"

namespace mtd {

// How the decoder's iteration k (from 0) ends, by the errors it left.
enum class IterationEnd {
  GoOn,          // the next iteration follows, if ktrh[0] allows one
  NoErrorsLeft,  // no information error is left
  NoChange,      // from the fourth iteration on: as many errors as after the one before
};

// The decoder's stop rule, read from the block tally once the iteration has been counted.
inline IterationEnd iterationEnd(const ErrorTally& tally, std::int32_t k) {
  const std::int32_t left = tally.counts[iterationSlot(k)];
  if (left == 0) return IterationEnd::NoErrorsLeft;
  if (k >= rules::FIRST_NO_CHANGE_ITERATION && left == tally.counts[iterationSlot(k - 1)])
    return IterationEnd::NoChange;
  return IterationEnd::GoOn;
}

}  // namespace mtd
