#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/DrawingSurface.h"

namespace mtd {

// A text written on a canvas: its corner, its extent and how it was drawn.
struct StandingText {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::string text;
  Rgb colour;
  GdiObject font;
  bool opaque = false;  // its character cells were filled with the background colour
};

// The picture of a recording surface: a colour per pixel, and the texts that still stand.
// Glyphs are not rasterised: a text is a record with its extent box. A fill that touches any
// pixel of a text's box removes the text (it is at least partly painted over); a text written
// at the corner of another replaces it, so repeated drawing of the same lines stays bounded.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Half-open areas [left, right) x [top, bottom), clipped to the canvas.
  void fill(int left, int top, int right, int bottom, Rgb colour);
  // Win32 Rectangle: the outer pixels in the pen colour, the inside in the brush colour.
  void rectangle(int left, int top, int right, int bottom, Rgb brush, Rgb pen);
  // Records the text; an opaque text's background is filled by its writer first.
  void writeText(const StandingText& text);
  // Copies [0, width) x [0, height) of the source, pixels and texts, to the same place.
  void copyFrom(const PixelCanvas& source, int width, int height);

  // Nothing for a pixel outside the canvas or never painted.
  std::optional<Rgb> pixel(int x, int y) const;
  // The one colour of every pixel of the area, or nothing when they differ or one is unpainted.
  std::optional<Rgb> uniformColour(int left, int top, int right, int bottom) const;
  // The text whose corner is at (x, y), if it still stands.
  const StandingText* textAt(int x, int y) const;
  // The standing text with these characters, if any (the latest written).
  const StandingText* findText(const std::string& text) const;
  const std::vector<StandingText>& texts() const { return texts_; }

 private:
  struct Area {
    int left, top, right, bottom;
  };
  Area clip(int left, int top, int right, int bottom) const;
  void paint(const Area& area, std::uint32_t colour);
  void dropTextsTouching(int left, int top, int right, int bottom);

  static constexpr std::uint32_t UNPAINTED = 0xFF000000u;
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;  // COLORREF values, or UNPAINTED
  std::vector<StandingText> texts_;
};

}  // namespace mtd
