#pragma once

namespace mtd::cli {

// The binary entropy H(p) in bits.
double binaryEntropy(double p);

// The largest crossover probability p of a binary symmetric channel (p <= 1/2) at which a code
// of the rate can still be reliable: the p where the capacity 1 - H(p) equals the rate.
double bscCapacityLimit(double rate);

}  // namespace mtd::cli
