#pragma once

#include <cstdint>

#include "core/BlockState.h"
#include "core/DecoderRules.h"
#include "core/SimParams.h"

namespace mtd {

// A position plus a tap offset wraps by one subtraction of nbl; the loader keeps every tap in
// use within 0..nbl, so one is enough.
inline std::int32_t tapPosition(std::int32_t position, std::int32_t tap, std::int32_t nbl) {
  const std::int32_t sum = position + tap;
  return sum >= nbl ? sum - nbl : sum;
}

// The code taps kfp[1..ndn-1]: the checks each information bit enters.
inline std::int32_t codeTapCount(const SimParams& p) { return p.ndn > 1 ? p.ndn - 1 : 0; }

// The syndrome bits at the checks of position f; with its difference bit, the decoder's sum S.
inline std::int32_t syndromeAtChecks(const SimParams& p, const BlockState& rows, std::int32_t f) {
  std::int32_t ones = 0;
  for (std::int32_t j = 1; j <= codeTapCount(p); ++j) {
    ones += rows.syndrome[tapPosition(f, p.kfp[j], p.nbl)];
  }
  return ones;
}

// Iteration k flips a bit whose sum S exceeds this. Formed in 64
// bits so that no configured offset can overflow it.
inline std::int64_t flipThreshold(const SimParams& p, std::int32_t k) {
  return std::int64_t{p.ktrh[k + 1]} + rules::THRESHOLD_BASE;
}

}  // namespace mtd
