#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "ui/Brush.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// What one colour of a row means.
struct LegendEntry {
  Brush brush;
  std::string_view meaning;
};

// A group of the legend: a row of the picture (or the empty grid, or the decoder's marks).
struct LegendGroup {
  std::string_view title;
  std::span<const LegendEntry> entries;
};

// The groups in the order of the picture's rows, top to bottom, then the marks and the empty
// grid. The meanings are the colour rules of ui/ColourRules.h in words.
std::span<const LegendGroup> colourLegendGroups();

// Where the legend puts a colour sample and its words, in pixels of the legend's window.
struct LegendSample {
  Brush brush;
  int left;
  int top;
  int right;
  int bottom;
  int textX;
  int textY;
  std::string_view meaning;
};

// The legend window's client size, and the place of each sample in it.
ScreenSize colourLegendSize();
std::vector<LegendSample> colourLegendSamples();

// The legend's drawing objects, made through the window system's graphics for as long as the
// legend's window is open: a surface must have let go of an object before it is deleted, so
// they outlive every paint of the window.
class ColourLegend {
 public:
  explicit ColourLegend(Graphics& graphics);
  ~ColourLegend();
  ColourLegend(const ColourLegend&) = delete;
  ColourLegend& operator=(const ColourLegend&) = delete;

  // Draws the whole legend on a surface of colourLegendSize(): each sample filled with the
  // program's own palette colour for its brush, the meanings beside it.
  void draw(DrawingSurface& surface) const;

 private:
  Graphics& graphics_;
  GdiObject background_;
  GdiObject outline_;
  GdiObject titleFont_;
  GdiObject textFont_;
  std::array<GdiObject, BRUSH_COUNT> brushes_{};
};

}  // namespace mtd
