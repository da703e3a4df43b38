#pragma once

#include <array>
#include <cstdint>

#include "core/Limits.h"

namespace mtd {

// The slots of a tally. counts: the bits simulated, the channel's information errors and its
// check errors, then the information errors left after each decoder iteration k. weights: the
// start syndrome weight, then the syndrome weight after each iteration k.
inline constexpr int SLOT_BITS = 0;
inline constexpr int SLOT_INFO_ERRORS = 1;
inline constexpr int SLOT_CHECK_ERRORS = 2;
inline constexpr int SLOT_START_WEIGHT = 0;
inline constexpr int SLOT_FIRST_ITERATION = 3;
// The slot of iteration k (from 0), in either array.
constexpr int iterationSlot(std::int32_t k) { return SLOT_FIRST_ITERATION + k; }
// The slot of the last iteration a tally holds; the statistics show it as the final errors.
inline constexpr int SLOT_LAST_ITERATION = TALLY_SLOTS - 1;

struct ErrorTally {
  std::array<std::int32_t, TALLY_SLOTS> counts{};
  std::array<std::int32_t, TALLY_SLOTS> weights{};
};

void clearTally(ErrorTally& tally);
// Counters are never tested for overflow; they wrap in two's complement instead of
// invoking undefined behaviour.
void addTally(ErrorTally& total, const ErrorTally& block);

}  // namespace mtd
