#include "tests/support/PixelCanvas.h"

#include <algorithm>

namespace mtd {

namespace {

Rgb fromColorref(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
          static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

bool overlaps(int left, int top, int right, int bottom, const StandingText& text) {
  return left < text.x + text.width && text.x < right && top < text.y + text.height &&
         text.y < bottom;
}

}  // namespace

PixelCanvas::PixelCanvas(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), UNPAINTED) {}

PixelCanvas::Area PixelCanvas::clip(int left, int top, int right, int bottom) const {
  return {std::clamp(left, 0, width_), std::clamp(top, 0, height_), std::clamp(right, 0, width_),
          std::clamp(bottom, 0, height_)};
}

void PixelCanvas::paint(const Area& area, std::uint32_t colour) {
  for (int y = area.top; y < area.bottom; ++y) {
    auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
    std::fill(row + area.left, row + std::max(area.left, area.right), colour);
  }
}

void PixelCanvas::dropTextsTouching(int left, int top, int right, int bottom) {
  if (left >= right || top >= bottom) return;
  std::erase_if(texts_,
                [&](const StandingText& text) { return overlaps(left, top, right, bottom, text); });
}

void PixelCanvas::fill(int left, int top, int right, int bottom, Rgb colour) {
  dropTextsTouching(left, top, right, bottom);
  paint(clip(left, top, right, bottom), colour.colorref());
}

void PixelCanvas::rectangle(int left, int top, int right, int bottom, Rgb brush, Rgb pen) {
  if (left >= right || top >= bottom) return;
  dropTextsTouching(left, top, right, bottom);
  const std::uint32_t border = pen.colorref();
  paint(clip(left, top, right, top + 1), border);
  paint(clip(left, bottom - 1, right, bottom), border);
  paint(clip(left, top, left + 1, bottom), border);
  paint(clip(right - 1, top, right, bottom), border);
  paint(clip(left + 1, top + 1, right - 1, bottom - 1), brush.colorref());
}

void PixelCanvas::writeText(const StandingText& text) {
  std::erase_if(texts_,
                [&](const StandingText& old) { return old.x == text.x && old.y == text.y; });
  texts_.push_back(text);
}

void PixelCanvas::copyFrom(const PixelCanvas& source, int width, int height) {
  const int copyWidth = std::clamp(width, 0, std::min(width_, source.width_));
  const int copyHeight = std::clamp(height, 0, std::min(height_, source.height_));
  for (int y = 0; y < copyHeight; ++y) {
    const auto from = source.pixels_.begin() + static_cast<std::ptrdiff_t>(y) * source.width_;
    std::copy(from, from + copyWidth, pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_);
  }
  dropTextsTouching(0, 0, copyWidth, copyHeight);
  for (const StandingText& text : source.texts_) {
    if (overlaps(0, 0, copyWidth, copyHeight, text)) texts_.push_back(text);
  }
}

std::optional<Rgb> PixelCanvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return std::nullopt;
  const std::uint32_t value = pixels_[static_cast<std::size_t>(y) * width_ + x];
  if (value == UNPAINTED) return std::nullopt;
  return fromColorref(value);
}

std::optional<Rgb> PixelCanvas::uniformColour(int left, int top, int right, int bottom) const {
  if (left >= right || top >= bottom) return std::nullopt;
  const std::optional<Rgb> first = pixel(left, top);
  if (!first) return std::nullopt;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (pixel(x, y) != first) return std::nullopt;
    }
  }
  return first;
}

const StandingText* PixelCanvas::textAt(int x, int y) const {
  for (auto it = texts_.rbegin(); it != texts_.rend(); ++it) {
    if (it->x == x && it->y == y) return &*it;
  }
  return nullptr;
}

const StandingText* PixelCanvas::findText(const std::string& text) const {
  for (auto it = texts_.rbegin(); it != texts_.rend(); ++it) {
    if (it->text == text) return &*it;
  }
  return nullptr;
}

}  // namespace mtd
