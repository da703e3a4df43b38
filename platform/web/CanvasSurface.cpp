#include "platform/web/CanvasSurface.h"

#include <string>

#include "platform/web/PageBridge.h"

namespace mtd {

namespace {

constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb BLACK{0, 0, 0};
// The system font of a fresh device context is about this tall.
constexpr int DEFAULT_CELL_HEIGHT = 16;

// 0xRRGGBB, as the page builds its colour strings.
std::uint32_t packed(Rgb colour) {
  return (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
}

}  // namespace

void CanvasSurface::resetState() {
  brush_ = WHITE;
  pen_ = BLACK;
  font_ = FontSpec{};
  font_.height = DEFAULT_CELL_HEIGHT;
  fontChanged_ = true;
  textColour_ = BLACK;
  bkColour_ = WHITE;
  transparent_ = false;
}

void CanvasSurface::selectObject(GdiObject object) {
  const DrawingObject* found = objects_.find(object);
  if (!found) return;
  switch (found->kind) {
    case DrawingObject::Kind::Brush:
      brush_ = found->colour;
      break;
    case DrawingObject::Kind::Pen:
      pen_ = found->colour;
      break;
    case DrawingObject::Kind::Font:
      font_ = found->font;
      fontChanged_ = true;
      break;
  }
}

void CanvasSurface::rectangle(int left, int top, int right, int bottom) {
  const int width = right - left;
  const int height = bottom - top;
  if (width <= 0 || height <= 0) return;
  page::fillRect(surfaceId_, left, top, width, height, packed(brush_));
  // The pen runs on the rectangle's outermost pixels, as four one-pixel fills.
  const std::uint32_t pen = packed(pen_);
  page::fillRect(surfaceId_, left, top, width, 1, pen);
  page::fillRect(surfaceId_, left, bottom - 1, width, 1, pen);
  page::fillRect(surfaceId_, left, top, 1, height, pen);
  page::fillRect(surfaceId_, right - 1, top, 1, height, pen);
}

void CanvasSurface::patBlt(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  page::fillRect(surfaceId_, x, y, width, height, packed(brush_));
}

void CanvasSurface::useFont() {
  // The context keeps its font, and measuring a face anew is slow: set it only on a change.
  if (!fontChanged_) return;
  page::setFont(surfaceId_, font_.height, font_.weight, font_.face.c_str());
  fontChanged_ = false;
}

void CanvasSurface::textOut(int x, int y, std::string_view text) {
  useFont();
  const std::string str(text);
  if (recordsText_) page::recordText(x, y, str.c_str());
  if (!transparent_) {
    page::fillRect(surfaceId_, x, y, page::textWidth(surfaceId_, str.c_str()), font_.height,
                   packed(bkColour_));
  }
  page::fillText(surfaceId_, x, y, str.c_str(), packed(textColour_));
}

TextExtent CanvasSurface::textExtent(std::string_view text) {
  useFont();
  const std::string str(text);
  return TextExtent{page::textWidth(surfaceId_, str.c_str()), font_.height};
}

void CanvasSurface::copyFrom(DrawingSurface& source, int width, int height) {
  auto* canvas = dynamic_cast<CanvasSurface*>(&source);
  if (!canvas || width <= 0 || height <= 0) return;
  page::copySurface(surfaceId_, canvas->surfaceId(), width, height);
}

}  // namespace mtd
