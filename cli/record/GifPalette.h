#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "ui/DrawingSurface.h"

namespace mtd::cli::record {

// A fixed palette of 256 colours for the picture: every colour the display paints, exactly,
// and for each text colour a ramp of its shades over black, which is where anti-aliased text
// stands. A colour outside the palette takes its nearest entry.
class GifPalette {
 public:
  static constexpr int SIZE = 256;

  GifPalette();
  const std::array<Rgb, SIZE>& colours() const { return colours_; }
  // The index of a 0x00RRGGBB pixel.
  std::uint8_t indexOf(std::uint32_t pixel);

 private:
  std::uint8_t nearest(Rgb colour) const;

  std::array<Rgb, SIZE> colours_{};
  std::unordered_map<std::uint32_t, std::uint8_t> known_;
};

}  // namespace mtd::cli::record
