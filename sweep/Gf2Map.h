#pragma once

#include <array>
#include <cstdint>

namespace mtd::sweep {

// A linear map of 64-bit states over GF(2), held as the images of the 64 unit vectors.
class Gf2Map {
 public:
  static Gf2Map identity();
  // The map of `steps` applications of a linear step function.
  template <typename Step>
  static Gf2Map ofSteps(Step step, std::int64_t steps) {
    Gf2Map m;
    for (int bit = 0; bit < 64; ++bit) {
      std::uint64_t x = std::uint64_t{1} << bit;
      for (std::int64_t n = 0; n < steps; ++n) x = step(x);
      m.images_[bit] = x;
    }
    return m;
  }

  std::uint64_t apply(std::uint64_t x) const {
    std::uint64_t y = 0;
    for (int bit = 0; bit < 64; ++bit) y ^= images_[bit] & (0 - ((x >> bit) & 1));
    return y;
  }
  // This map after `first`.
  Gf2Map after(const Gf2Map& first) const;

 private:
  std::array<std::uint64_t, 64> images_{};
};

}  // namespace mtd::sweep
