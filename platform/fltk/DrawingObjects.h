#pragma once

#include <FL/Enumerations.H>

#include <vector>

#include "ui/DrawingSurface.h"

namespace mtd {

// A brush, a pen or a font as FLTK needs it: a colour, or a face and a size.
struct DrawingObject {
  enum class Kind { Brush, Pen, Font };
  Kind kind = Kind::Brush;
  Rgb colour;
  Fl_Font face = FL_HELVETICA;
  Fl_Fontsize size = 0;
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

// CreateFontA asks for the character cell height; FLTK sizes a font by its em. The FLTK face
// for a Win32 face name and weight, registered once.
Fl_Font fltkFace(const FontSpec& spec);
// The largest FLTK size whose cell (ascent + descent) is not taller than the requested height.
Fl_Fontsize sizeForCellHeight(Fl_Font face, int cellHeight);

}  // namespace mtd
