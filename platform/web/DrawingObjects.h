#pragma once

#include <vector>

#include "ui/DrawingSurface.h"

namespace mtd {

// A brush, a pen or a font as the canvas needs it: a colour, or a cell height, weight and face.
struct DrawingObject {
  enum class Kind { Brush, Pen, Font };
  Kind kind = Kind::Brush;
  Rgb colour;
  FontSpec font;
};

// The brushes, pens and fonts made for the display, by id; id 0 stays unused (no object).
class DrawingObjects {
 public:
  GdiObject add(const DrawingObject& object);
  void remove(GdiObject object);
  // Null for an unknown or deleted id.
  const DrawingObject* find(GdiObject object) const;

 private:
  std::vector<DrawingObject> objects_;
  std::vector<bool> alive_;
};

}  // namespace mtd
