#include "platform/raster/RasterSurface.h"

#include <cmath>
#include <string>

namespace mtd {

namespace {

constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb BLACK{0, 0, 0};
constexpr double DEFAULT_FONT_SIZE = 16.0;

void setColour(cairo_t* cairo, Rgb colour) {
  cairo_set_source_rgb(cairo, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
}

// Whole-pixel metrics, so that text lands on the same pixels at every size and every run.
void selectFace(cairo_t* cairo, double size, bool bold) {
  cairo_select_font_face(cairo, RASTER_FONT_FACE, CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, size);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
}

int cellHeightOf(cairo_t* cairo) {
  cairo_font_extents_t extents;
  cairo_font_extents(cairo, &extents);
  return static_cast<int>(std::lround(extents.ascent) + std::lround(extents.descent));
}

int descentOf(cairo_t* cairo) {
  cairo_font_extents_t extents;
  cairo_font_extents(cairo, &extents);
  return static_cast<int>(std::lround(extents.descent));
}

}  // namespace

RasterSurface::RasterSurface(const RasterObjects& objects, int width, int height)
    : objects_(objects),
      width_(width < 1 ? 1 : width),
      height_(height < 1 ? 1 : height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_)),
      cairo_(cairo_create(surface_)) {
  cairo_set_antialias(cairo_, CAIRO_ANTIALIAS_NONE);
  resetState();
  fill(BLACK, 0, 0, width_, height_);
}

RasterSurface::~RasterSurface() {
  cairo_destroy(cairo_);
  cairo_surface_destroy(surface_);
}

void RasterSurface::resetState() {
  brush_ = RasterObject{RasterObject::Kind::Brush, WHITE};
  pen_ = RasterObject{RasterObject::Kind::Pen, BLACK};
  font_ = RasterObject{RasterObject::Kind::Font, BLACK, DEFAULT_FONT_SIZE};
  textColour_ = BLACK;
  bkColour_ = WHITE;
  transparent_ = false;
}

void RasterSurface::selectObject(GdiObject object) {
  const RasterObject* found = objects_.find(object);
  if (!found) return;
  switch (found->kind) {
    case RasterObject::Kind::Brush:
      brush_ = *found;
      break;
    case RasterObject::Kind::Pen:
      pen_ = *found;
      break;
    case RasterObject::Kind::Font:
      font_ = *found;
      break;
  }
}

void RasterSurface::fill(Rgb colour, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  setColour(cairo_, colour);
  cairo_rectangle(cairo_, x, y, width, height);
  cairo_fill(cairo_);
}

void RasterSurface::rectangle(int left, int top, int right, int bottom) {
  const int width = right - left;
  const int height = bottom - top;
  if (width <= 0 || height <= 0) return;
  fill(brush_.colour, left, top, width, height);
  // The pen runs on the rectangle's outermost pixels.
  fill(pen_.colour, left, top, width, 1);
  fill(pen_.colour, left, bottom - 1, width, 1);
  fill(pen_.colour, left, top, 1, height);
  fill(pen_.colour, right - 1, top, 1, height);
}

void RasterSurface::patBlt(int x, int y, int width, int height) {
  fill(brush_.colour, x, y, width, height);
}

void RasterSurface::useFont() { selectFace(cairo_, font_.fontSize, font_.bold); }

void RasterSurface::textOut(int x, int y, std::string_view text) {
  const TextExtent extent = textExtent(text);
  if (!transparent_) fill(bkColour_, x, y, extent.cx, extent.cy);
  const std::string str(text);
  setColour(cairo_, textColour_);
  // Text is placed by its baseline; the caller gives the top of the character cell.
  cairo_move_to(cairo_, x, y + extent.cy - descentOf(cairo_));
  cairo_show_text(cairo_, str.c_str());
  cairo_new_path(cairo_);
}

TextExtent RasterSurface::textExtent(std::string_view text) {
  useFont();
  const std::string str(text);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo_, str.c_str(), &extents);
  return TextExtent{static_cast<int>(extents.x_advance), cellHeightOf(cairo_)};
}

void RasterSurface::copyFrom(DrawingSurface& source, int width, int height) {
  auto* raster = dynamic_cast<RasterSurface*>(&source);
  if (!raster || width <= 0 || height <= 0) return;
  cairo_surface_flush(raster->surface_);
  cairo_save(cairo_);
  cairo_set_operator(cairo_, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cairo_, raster->surface_, 0, 0);
  cairo_rectangle(cairo_, 0, 0, width, height);
  cairo_fill(cairo_);
  cairo_restore(cairo_);
}

std::span<const std::uint32_t> RasterSurface::pixels() {
  cairo_surface_flush(surface_);
  const auto* data = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_));
  return {data, static_cast<std::size_t>(stride()) * static_cast<std::size_t>(height_)};
}

int RasterSurface::stride() const { return cairo_image_surface_get_stride(surface_) / 4; }

Rgb RasterSurface::pixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  const std::uint32_t word = pixels()[static_cast<std::size_t>(y) * stride() + x];
  return Rgb{static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
             static_cast<std::uint8_t>(word)};
}

double fontSizeForCellHeight(int cellHeight, bool bold) {
  if (cellHeight <= 0) return 1.0;
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
  cairo_t* cairo = cairo_create(scratch);
  auto cellAt = [&](int size) {
    selectFace(cairo, size, bold);
    return cellHeightOf(cairo);
  };
  // Start near Arial's proportion (em 2048 of a 2288 cell) and correct by measuring.
  int size = cellHeight * 2048 / 2288;
  if (size < 1) size = 1;
  while (size > 1 && cellAt(size) > cellHeight) --size;
  while (cellAt(size + 1) <= cellHeight) ++size;
  cairo_destroy(cairo);
  cairo_surface_destroy(scratch);
  return size;
}

}  // namespace mtd
