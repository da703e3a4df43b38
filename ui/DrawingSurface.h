#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mtd {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  // The Win32 COLORREF value, 0x00BBGGRR.
  constexpr std::uint32_t colorref() const {
    return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
  }
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// A brush, pen or font made by the window system; 0 is no object.
struct GdiObject {
  int id = 0;
  friend constexpr bool operator==(const GdiObject&, const GdiObject&) = default;
};

// The arguments of CreateFontA that the display uses; the rest are 0.
struct FontSpec {
  int height = 0;  // positive: character cell height in pixels
  int weight = 700;
  int charSet = 0;
  int pitchAndFamily = 16;
  std::string face = "Arial";
};

struct TextExtent {
  int cx = 0;
  int cy = 0;
};

// The drawing operations of the display, named after the Win32 calls they stand for.
// Coordinates are pixels from the top left of the client area.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;
  virtual void selectObject(GdiObject object) = 0;
  // Fills left..right-1 x top..bottom-1 with the brush and outlines those pixels with the pen.
  virtual void rectangle(int left, int top, int right, int bottom) = 0;
  // PATCOPY with the current brush, no border, clipped to the surface.
  virtual void patBlt(int x, int y, int width, int height) = 0;
  virtual void setTextColor(Rgb colour) = 0;
  virtual void setBkColor(Rgb colour) = 0;
  virtual void setBkModeTransparent() = 0;
  // The top left of the first character cell at (x, y).
  virtual void textOut(int x, int y, std::string_view text) = 0;
  virtual TextExtent textExtent(std::string_view text) = 0;
  // BitBlt SRCCOPY of width x height pixels from (0, 0) of the source to (0, 0).
  virtual void copyFrom(DrawingSurface& source, int width, int height) = 0;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// What the display needs of the window system: the screen, the back buffer, the drawing
// objects and the window's own surface, acquired for one drawing group at a time.
class Graphics {
 public:
  virtual ~Graphics() = default;
  virtual ScreenSize screenSize() = 0;
  // CreateCompatibleDC and CreateCompatibleBitmap of the window's surface, selected together.
  virtual DrawingSurface& createBackBuffer(int width, int height) = 0;
  virtual void deleteBackBuffer() = 0;  // DeleteDC
  virtual GdiObject createSolidBrush(Rgb colour) = 0;
  virtual GdiObject createPen(Rgb colour) = 0;  // PS_SOLID, width 1
  virtual GdiObject createFont(const FontSpec& font) = 0;
  virtual void deleteObject(GdiObject object) = 0;
  // GetDC: default state (opaque text background, none of the display's objects selected).
  virtual DrawingSurface& getWindowSurface() = 0;
  virtual void releaseWindowSurface(DrawingSurface& surface) = 0;  // ReleaseDC
};

}  // namespace mtd
