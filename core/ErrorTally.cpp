#include "core/ErrorTally.h"

namespace mtd {

void clearTally(ErrorTally& tally) {
  tally.counts.fill(0);
  tally.weights.fill(0);
}

namespace {
std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
}  // namespace

void addTally(ErrorTally& total, const ErrorTally& block) {
  for (int i = 0; i < TALLY_SLOTS; ++i) {
    total.counts[i] = wrappingAdd(total.counts[i], block.counts[i]);
    total.weights[i] = wrappingAdd(total.weights[i], block.weights[i]);
  }
}

}  // namespace mtd
