#pragma once

#include <array>
#include <cstdint>

#include "core/NoiseGenerator.h"

namespace mtd {

// The generator's step is linear over GF(2) in the 64 bits of (wordA, wordB): shifts, the
// arithmetic shift's copies of the sign bit, masks and exclusive ors only. So stepsPerBit steps
// are one linear map, applied here with one table per byte of the state. The silent passes
// use it to draw a bit with eight lookups instead of stepsPerBit dependent steps.
class NoiseJump {
 public:
  // Rebuilds the tables when the step count changes; cheap next to a block. A larger count
  // goes on from the images of the previous one.
  void prepare(std::int32_t steps);

  static std::uint64_t pack(GeneratorState s) {
    return std::uint64_t{static_cast<std::uint32_t>(s.wordA)} |
           (std::uint64_t{static_cast<std::uint32_t>(s.wordB)} << 32);
  }
  static GeneratorState unpack(std::uint64_t x) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(x)),
            static_cast<std::int32_t>(static_cast<std::uint32_t>(x >> 32))};
  }

  std::uint64_t apply(std::uint64_t x) const {
    std::uint64_t y = 0;
    for (int b = 0; b < 8; ++b) y ^= tables_[b][(x >> (8 * b)) & 0xFF];
    return y;
  }

 private:
  std::int32_t steps_ = -1;
  std::array<std::uint64_t, 64> images_{};  // the image of each state bit after steps_ steps
  std::array<std::array<std::uint64_t, 256>, 8> tables_{};
};

}  // namespace mtd
