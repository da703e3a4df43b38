#include "platform/fltk/DrawingObjects.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <map>
#include <string>

namespace mtd {

GdiObject DrawingObjects::add(const DrawingObject& object) {
  objects_.push_back(object);
  alive_.push_back(true);
  return GdiObject{static_cast<int>(objects_.size())};
}

void DrawingObjects::remove(GdiObject object) {
  if (find(object)) alive_[object.id - 1] = false;
}

const DrawingObject* DrawingObjects::find(GdiObject object) const {
  if (object.id < 1 || object.id > static_cast<int>(objects_.size())) return nullptr;
  if (!alive_[object.id - 1]) return nullptr;
  return &objects_[object.id - 1];
}

Fl_Font fltkFace(const FontSpec& spec) {
  // FLTK's Xft names carry the style in their first character: 'B' bold, ' ' regular.
  // Fontconfig resolves "Arial" to a face with Arial's metrics (Liberation Sans).
  static std::map<std::string, Fl_Font> registered;
  static Fl_Font next = FL_FREE_FONT;
  const std::string name = (spec.weight >= 600 ? "B" : " ") + spec.face;
  auto found = registered.find(name);
  if (found != registered.end()) return found->second;
  // FLTK keeps the pointer: the map's key lives as long as the program.
  auto inserted = registered.emplace(name, next).first;
  Fl::set_font(next, inserted->first.c_str());
  return next++;
}

Fl_Fontsize sizeForCellHeight(Fl_Font face, int cellHeight) {
  if (cellHeight <= 0) return 1;
  // Start near Arial's proportion (em 2048 of a 2288 cell) and correct by measuring.
  Fl_Fontsize size = cellHeight * 2048 / 2288;
  if (size < 1) size = 1;
  fl_font(face, size);
  while (size > 1 && fl_height() > cellHeight) fl_font(face, --size);
  while (true) {
    fl_font(face, size + 1);
    if (fl_height() > cellHeight) break;
    ++size;
  }
  return size;
}

}  // namespace mtd
