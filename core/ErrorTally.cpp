#include "core/ErrorTally.h"

#include "core/WrappingAdd.h"

namespace mtd {

void clearTally(ErrorTally& tally) {
  tally.counts.fill(0);
  tally.weights.fill(0);
}

void addTally(ErrorTally& total, const ErrorTally& block) {
  for (int i = 0; i < TALLY_SLOTS; ++i) {
    total.counts[i] = wrappingAdd(total.counts[i], block.counts[i]);
    total.weights[i] = wrappingAdd(total.weights[i], block.weights[i]);
  }
}

}  // namespace mtd
