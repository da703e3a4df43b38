#pragma once

#include "platform/win32/GdiObjectTable.h"
#include "platform/win32/Win32Api.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The display's drawing operations on a GDI device context: the back buffer's memory DC, the
// window's DC from GetDC, or the DC that BeginPaint hands out.
class GdiSurface final : public DrawingSurface {
 public:
  GdiSurface(HDC dc, const GdiObjectTable& objects) : dc_(dc), objects_(objects) {}

  HDC dc() const { return dc_; }

  void selectObject(GdiObject object) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void patBlt(int x, int y, int width, int height) override;
  void setTextColor(Rgb colour) override;
  void setBkColor(Rgb colour) override;
  void setBkModeTransparent() override;
  void textOut(int x, int y, std::string_view text) override;
  TextExtent textExtent(std::string_view text) override;
  void copyFrom(DrawingSurface& source, int width, int height) override;

 private:
  HDC dc_;
  const GdiObjectTable& objects_;
};

}  // namespace mtd
