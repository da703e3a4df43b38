#include "cli/sweep/ChannelCapacity.h"

#include <cmath>

namespace mtd::cli {

double binaryEntropy(double p) {
  if (p <= 0 || p >= 1) return 0;
  return -p * std::log2(p) - (1 - p) * std::log2(1 - p);
}

double bscCapacityLimit(double rate) {
  // The capacity falls from 1 to 0 as p goes from 0 to 1/2: bisect.
  double low = 0;
  double high = 0.5;
  for (int i = 0; i < 100; ++i) {
    const double middle = (low + high) / 2;
    (1 - binaryEntropy(middle) > rate ? low : high) = middle;
  }
  return (low + high) / 2;
}

}  // namespace mtd::cli
