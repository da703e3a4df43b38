#include "core/NoiseJump.h"

#include <bit>

namespace mtd {

void NoiseJump::prepare(std::int32_t steps) {
  if (steps == steps_) return;
  steps_ = steps;
  // The image of each state bit after the steps.
  std::array<std::uint64_t, 64> images{};
  for (int bit = 0; bit < 64; ++bit) {
    GeneratorState s = unpack(std::uint64_t{1} << bit);
    for (std::int32_t n = 0; n < steps; ++n) s = NoiseGenerator::nextState(s);
    images[bit] = pack(s);
  }
  for (int b = 0; b < 8; ++b) {
    tables_[b][0] = 0;
    for (int v = 1; v < 256; ++v) {
      const int low = std::countr_zero(static_cast<unsigned>(v));
      tables_[b][v] = tables_[b][v & (v - 1)] ^ images[8 * b + low];
    }
  }
}

}  // namespace mtd
