#include "platform/raster/RasterGraphics.h"

namespace mtd {

RasterGraphics::RasterGraphics(ScreenSize screen, ScreenSize client)
    : screen_(screen), client_(client), window_(objects_, client.width, client.height) {}

DrawingSurface& RasterGraphics::createBackBuffer(int width, int height) {
  backBuffer_ = std::make_unique<RasterSurface>(objects_, width, height);
  return *backBuffer_;
}

GdiObject RasterGraphics::createSolidBrush(Rgb colour) {
  return objects_.add(RasterObject{RasterObject::Kind::Brush, colour});
}

GdiObject RasterGraphics::createPen(Rgb colour) {
  return objects_.add(RasterObject{RasterObject::Kind::Pen, colour});
}

GdiObject RasterGraphics::createFont(const FontSpec& font) {
  const bool bold = font.weight >= 600;
  return objects_.add(RasterObject{RasterObject::Kind::Font, Rgb{},
                                   fontSizeForCellHeight(font.height, bold), bold});
}

DrawingSurface& RasterGraphics::getWindowSurface() {
  // GetDC hands out the window's surface in its default state; what it shows stays.
  window_.resetState();
  return window_;
}

}  // namespace mtd
