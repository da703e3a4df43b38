#include "platform/win32/GdiSurface.h"

namespace mtd {

namespace {

COLORREF colorRef(Rgb colour) { return static_cast<COLORREF>(colour.colorref()); }

// The display's texts are short lines; GDI counts characters in an int.
int characterCount(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace

void GdiSurface::selectObject(GdiObject object) {
  if (HGDIOBJ handle = objects_.find(object)) SelectObject(dc_, handle);
}

void GdiSurface::rectangle(int left, int top, int right, int bottom) {
  Rectangle(dc_, left, top, right, bottom);
}

void GdiSurface::patBlt(int x, int y, int width, int height) {
  PatBlt(dc_, x, y, width, height, PATCOPY);
}

void GdiSurface::setTextColor(Rgb colour) { SetTextColor(dc_, colorRef(colour)); }

void GdiSurface::setBkColor(Rgb colour) { SetBkColor(dc_, colorRef(colour)); }

void GdiSurface::setBkModeTransparent() { SetBkMode(dc_, TRANSPARENT); }

void GdiSurface::textOut(int x, int y, std::string_view text) {
  TextOutA(dc_, x, y, text.data(), characterCount(text));
}

TextExtent GdiSurface::textExtent(std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.data(), characterCount(text), &size);
  return TextExtent{size.cx, size.cy};
}

void GdiSurface::copyFrom(DrawingSurface& source, int width, int height) {
  // Every surface of this window system is a GdiSurface; anything else has no DC to copy.
  if (auto* gdiSource = dynamic_cast<GdiSurface*>(&source)) {
    BitBlt(dc_, 0, 0, width, height, gdiSource->dc(), 0, 0, SRCCOPY);
  }
}

}  // namespace mtd
