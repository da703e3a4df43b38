#include "cli/record/GifPalette.h"

#include <limits>
#include <vector>

#include "ui/Palette.h"

namespace mtd::cli::record {

namespace {

Rgb rgbOf(std::uint32_t pixel) {
  return Rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
             static_cast<std::uint8_t>(pixel)};
}

std::uint32_t wordOf(Rgb colour) {
  return (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
}

int distance(Rgb a, Rgb b) {
  const int dr = a.r - b.r;
  const int dg = a.g - b.g;
  const int db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

}  // namespace

GifPalette::GifPalette() {
  std::vector<Rgb> entries;
  auto addUnique = [&entries](Rgb colour) {
    for (const Rgb& entry : entries) {
      if (entry == colour) return;
    }
    entries.push_back(colour);
  };
  addUnique(BLACK);
  for (const Rgb& colour : PALETTE) addUnique(colour);
  const std::array<Rgb, 4> textColours = {
      textColour(TextColour::Green), textColour(TextColour::Cyan), textColour(TextColour::White),
      textColour(TextColour::Yellow)};
  for (const Rgb& colour : textColours) addUnique(colour);
  addUnique(LABEL_COLOUR);
  // What is left is shared evenly by the text colours' ramps over black.
  const int levels = (SIZE - static_cast<int>(entries.size())) / 4 + 1;
  for (int level = 1; level < levels; ++level) {
    for (const Rgb& colour : textColours) {
      auto shade = [&](std::uint8_t channel) {
        return static_cast<std::uint8_t>((channel * level + levels / 2) / levels);
      };
      addUnique(Rgb{shade(colour.r), shade(colour.g), shade(colour.b)});
    }
  }
  for (std::size_t i = 0; i < entries.size() && i < colours_.size(); ++i) colours_[i] = entries[i];
  for (std::size_t i = entries.size(); i < colours_.size(); ++i) colours_[i] = BLACK;
  for (int i = static_cast<int>(colours_.size()) - 1; i >= 0; --i) {
    known_[wordOf(colours_[i])] = static_cast<std::uint8_t>(i);
  }
}

std::uint8_t GifPalette::nearest(Rgb colour) const {
  int best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (int i = 0; i < SIZE; ++i) {
    const int d = distance(colour, colours_[i]);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return static_cast<std::uint8_t>(best);
}

std::uint8_t GifPalette::indexOf(std::uint32_t pixel) {
  pixel &= 0x00FFFFFFu;
  const auto found = known_.find(pixel);
  if (found != known_.end()) return found->second;
  const std::uint8_t index = nearest(rgbOf(pixel));
  known_.emplace(pixel, index);
  return index;
}

}  // namespace mtd::cli::record
