#pragma once

#include <vector>

#include "ui/DrawingSurface.h"

namespace mtd {

// A brush, a pen or a font as the raster surface draws it: a colour, or a pixel size whose
// character cell (ascent + descent) fits the requested height.
struct RasterObject {
  enum class Kind { Brush, Pen, Font };
  Kind kind = Kind::Brush;
  Rgb colour;
  double fontSize = 0.0;  // em size in pixels
  bool bold = true;
};

// The brushes, pens and fonts made for the display, by id; id 0 stays unused (no object).
class RasterObjects {
 public:
  GdiObject add(const RasterObject& object);
  void remove(GdiObject object);
  // Null for an unknown or deleted id.
  const RasterObject* find(GdiObject object) const;

 private:
  std::vector<RasterObject> objects_;
  std::vector<bool> alive_;
};

}  // namespace mtd
