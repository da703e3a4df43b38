#include "platform/fltk/Surfaces.h"

#include <FL/Fl.H>
#include <FL/Fl_Device.H>
#include <FL/fl_draw.H>

#include <string>

namespace mtd {

namespace {

constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb BLACK{0, 0, 0};

void useColour(Rgb colour) { fl_color(colour.r, colour.g, colour.b); }

}  // namespace

void FltkSurface::resetState() {
  brush_ = DrawingObject{DrawingObject::Kind::Brush, WHITE};
  pen_ = DrawingObject{DrawingObject::Kind::Pen, BLACK};
  font_ = DrawingObject{DrawingObject::Kind::Font, BLACK, FL_HELVETICA_BOLD, 16};
  textColour_ = BLACK;
  bkColour_ = WHITE;
  transparent_ = false;
}

void FltkSurface::selectObject(GdiObject object) {
  const DrawingObject* found = objects_.find(object);
  if (!found) return;
  switch (found->kind) {
    case DrawingObject::Kind::Brush:
      brush_ = *found;
      break;
    case DrawingObject::Kind::Pen:
      pen_ = *found;
      break;
    case DrawingObject::Kind::Font:
      font_ = *found;
      break;
  }
}

void FltkSurface::rectangle(int left, int top, int right, int bottom) {
  const int width = right - left;
  const int height = bottom - top;
  if (width <= 0 || height <= 0) return;
  if (!begin()) return;
  useColour(brush_.colour);
  fl_rectf(left, top, width, height);
  // The pen runs on the rectangle's outermost pixels.
  useColour(pen_.colour);
  fl_rect(left, top, width, height);
  end();
}

void FltkSurface::patBlt(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (!begin()) return;
  useColour(brush_.colour);
  fl_rectf(x, y, width, height);
  end();
}

void FltkSurface::useFont() { fl_font(font_.face, font_.size); }

void FltkSurface::textOut(int x, int y, std::string_view text) {
  if (!begin()) return;
  useFont();
  const std::string str(text);
  const int length = static_cast<int>(str.size());
  if (!transparent_) {
    useColour(bkColour_);
    fl_rectf(x, y, static_cast<int>(fl_width(str.c_str(), length)), fl_height());
  }
  useColour(textColour_);
  // FLTK places text by its baseline; the caller gives the top of the character cell.
  fl_draw(str.c_str(), length, x, y + fl_height() - fl_descent());
  end();
}

TextExtent FltkSurface::textExtent(std::string_view text) {
  useFont();
  const std::string str(text);
  return TextExtent{static_cast<int>(fl_width(str.c_str(), static_cast<int>(str.size()))),
                    fl_height()};
}

void FltkSurface::copyFrom(DrawingSurface& source, int width, int height) {
  auto* offscreen = dynamic_cast<OffscreenSurface*>(&source);
  if (!offscreen || width <= 0 || height <= 0) return;
  if (!begin()) return;
  fl_copy_offscreen(0, 0, width, height, offscreen->pixmap(), 0, 0);
  end();
}

OffscreenSurface::OffscreenSurface(const DrawingObjects& objects, int width, int height)
    : FltkSurface(objects) {
  resetState();
  fl_open_display();
  pixmap_ = fl_create_offscreen(width, height);
  gc_ = XCreateGC(fl_display, pixmap_, 0, nullptr);
}

OffscreenSurface::~OffscreenSurface() {
  if (gc_) XFreeGC(fl_display, gc_);
  if (pixmap_) fl_delete_offscreen(pixmap_);
}

bool OffscreenSurface::begin() {
  savedWindow_ = fl_window;
  savedGc_ = fl_gc;
  savedDevice_ = Fl_Surface_Device::surface();
  fl_window = pixmap_;
  fl_gc = gc_;
  Fl_Display_Device::display_device()->set_current();
  fl_push_no_clip();
  return true;
}

void OffscreenSurface::end() {
  fl_pop_clip();
  fl_window = savedWindow_;
  fl_gc = savedGc_;
  savedDevice_->set_current();
}

bool WindowSurface::begin() {
  if (!clientArea_.shown()) return false;
  savedWindow_ = fl_window;
  savedGc_ = fl_gc;
  clientArea_.make_current();
  return true;
}

void WindowSurface::end() {
  fl_window = savedWindow_;
  fl_gc = savedGc_;
}

}  // namespace mtd
