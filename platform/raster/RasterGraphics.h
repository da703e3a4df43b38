#pragma once

#include <memory>

#include "platform/raster/RasterObjects.h"
#include "platform/raster/RasterSurface.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The drawing side of a window system without a window: a screen of a chosen size, a window
// whose client area is an image in memory (its pixels persist between acquisitions, as a
// shown window's do), a back buffer of the screen's size, and the brushes, pens and fonts.
class RasterGraphics : public Graphics {
 public:
  RasterGraphics(ScreenSize screen, ScreenSize client);

  ScreenSize screenSize() override { return screen_; }
  DrawingSurface& createBackBuffer(int width, int height) override;
  void deleteBackBuffer() override { backBuffer_.reset(); }
  GdiObject createSolidBrush(Rgb colour) override;
  GdiObject createPen(Rgb colour) override;
  GdiObject createFont(const FontSpec& font) override;
  void deleteObject(GdiObject object) override { objects_.remove(object); }
  DrawingSurface& getWindowSurface() override;
  void releaseWindowSurface(DrawingSurface&) override {}

  ScreenSize clientSize() const { return client_; }
  // What the window shows.
  RasterSurface& window() { return window_; }

 private:
  ScreenSize screen_;
  ScreenSize client_;
  RasterObjects objects_;
  RasterSurface window_;
  std::unique_ptr<RasterSurface> backBuffer_;
};

}  // namespace mtd
