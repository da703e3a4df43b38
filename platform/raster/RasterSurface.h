#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>

#include "platform/raster/RasterObjects.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The face every text of the picture is written in: the Linux window program's "Arial", which
// fontconfig resolves to Liberation Sans, a face with Arial's metrics.
inline constexpr const char* RASTER_FONT_FACE = "Liberation Sans";

// The GDI model of a drawing surface over a Cairo image in memory: the selected brush, pen and
// font and the text colours stay with the surface. Cells and boxes are filled without
// anti-aliasing, so every cell is exactly its colour; text is anti-aliased.
class RasterSurface : public DrawingSurface {
 public:
  RasterSurface(const RasterObjects& objects, int width, int height);
  ~RasterSurface() override;
  RasterSurface(const RasterSurface&) = delete;
  RasterSurface& operator=(const RasterSurface&) = delete;

  // A surface as GetDC hands it out: white brush, black pen, default font, black text on an
  // opaque white background.
  void resetState();

  void selectObject(GdiObject object) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void patBlt(int x, int y, int width, int height) override;
  void setTextColor(Rgb colour) override { textColour_ = colour; }
  void setBkColor(Rgb colour) override { bkColour_ = colour; }
  void setBkModeTransparent() override { transparent_ = true; }
  void textOut(int x, int y, std::string_view text) override;
  TextExtent textExtent(std::string_view text) override;
  void copyFrom(DrawingSurface& source, int width, int height) override;

  int width() const { return width_; }
  int height() const { return height_; }
  // The pixels, one 0x00RRGGBB word each, row after row (stride() words apart).
  std::span<const std::uint32_t> pixels();
  int stride() const;  // in pixels
  Rgb pixel(int x, int y);
  cairo_surface_t* cairoSurface() { return surface_; }

 private:
  void fill(Rgb colour, int x, int y, int width, int height);
  void useFont();

  const RasterObjects& objects_;
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cairo_;
  RasterObject brush_;
  RasterObject pen_;
  RasterObject font_;
  Rgb textColour_;
  Rgb bkColour_;
  bool transparent_ = false;
};

// The largest whole pixel size of the face whose character cell (ascent + descent, as the
// window program measures it) is not taller than the requested height; at least 1.
double fontSizeForCellHeight(int cellHeight, bool bold);

}  // namespace mtd
