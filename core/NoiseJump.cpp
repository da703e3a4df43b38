#include "core/NoiseJump.h"

#include <bit>

namespace mtd {

void NoiseJump::prepare(std::int32_t steps) {
  if (steps == steps_) return;
  std::int32_t done = steps_;
  if (done < 0 || steps < done) {
    for (int bit = 0; bit < 64; ++bit) images_[bit] = std::uint64_t{1} << bit;
    done = 0;
  }
  for (int bit = 0; bit < 64; ++bit) {
    GeneratorState s = unpack(images_[bit]);
    for (std::int32_t n = done; n < steps; ++n) s = NoiseGenerator::nextState(s);
    images_[bit] = pack(s);
  }
  steps_ = steps;
  for (int b = 0; b < 8; ++b) {
    tables_[b][0] = 0;
    for (int v = 1; v < 256; ++v) {
      const int low = std::countr_zero(static_cast<unsigned>(v));
      tables_[b][v] = tables_[b][v & (v - 1)] ^ images_[8 * b + low];
    }
  }
}

}  // namespace mtd
