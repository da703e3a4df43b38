#pragma once

#include <array>
#include <cstdint>

#include "core/Limits.h"

namespace mtd {

// counts: 0 bits simulated, 1 information errors, 2 check errors, 3+k errors left after
// iteration k. weights: 0 start syndrome weight, 3+k syndrome weight after iteration k.
struct ErrorTally {
  std::array<std::int32_t, TALLY_SLOTS> counts{};
  std::array<std::int32_t, TALLY_SLOTS> weights{};
};

void clearTally(ErrorTally& tally);
// Counters are never tested for overflow; they wrap in two's complement instead of
// invoking undefined behaviour.
void addTally(ErrorTally& total, const ErrorTally& block);

}  // namespace mtd
