#include "tests/support/RecordingSurface.h"

#include <utility>

#include "tests/support/RecordingGraphics.h"

namespace mtd {

namespace {

constexpr Rgb DEFAULT_BRUSH{255, 255, 255};  // the window system's white brush
constexpr Rgb DEFAULT_PEN{0, 0, 0};          // and black pen

}  // namespace

RecordingSurface::RecordingSurface(RecordingGraphics& owner, std::string name, int width,
                                   int height, bool keepCanvas)
    : owner_(owner), name_(std::move(name)), width_(width), height_(height) {
  enableCanvas(keepCanvas);
}

void RecordingSurface::enableCanvas(bool enabled) {
  if (!enabled) {
    canvas_.reset();
  } else if (!canvas_) {
    canvas_ = std::make_unique<PixelCanvas>(width_, height_);
  }
}

void RecordingSurface::trimLog(std::size_t limit) {
  while (log_.size() > limit) log_.pop_front();
}

void RecordingSurface::record(DrawOp op, RecordedCall call) {
  ++callCount_;
  ++opCounts_[static_cast<int>(op)];
  if (!usable_) ++misuseCount_;
  if (owner_.logLimit() == 0 && !observer_) return;
  call.op = op;
  call.state = state_;
  if (observer_) observer_(call);
  if (owner_.logLimit() == 0) return;
  log_.push_back(std::move(call));
  trimLog(owner_.logLimit());
}

Rgb RecordingSurface::brushColour() const {
  const ObjectRecord* brush = owner_.object(state_.brush);
  return brush != nullptr ? brush->colour : DEFAULT_BRUSH;
}

Rgb RecordingSurface::penColour() const {
  const ObjectRecord* pen = owner_.object(state_.pen);
  return pen != nullptr ? pen->colour : DEFAULT_PEN;
}

int RecordingSurface::fontHeight() const {
  const ObjectRecord* font = owner_.object(state_.font);
  return font != nullptr ? font->font.height : DEFAULT_FONT_HEIGHT;
}

void RecordingSurface::selectObject(GdiObject object) {
  const ObjectRecord* described = owner_.object(object);
  if (described == nullptr || described->deleted) {
    ++misuseCount_;  // the window system refuses it; the selection stays
  } else if (described->kind == ObjectKind::Brush) {
    state_.brush = object;
  } else if (described->kind == ObjectKind::Pen) {
    state_.pen = object;
  } else {
    state_.font = object;
  }
  RecordedCall call;
  call.object = object;
  record(DrawOp::SelectObject, std::move(call));
}

void RecordingSurface::rectangle(int left, int top, int right, int bottom) {
  if (canvas_ && usable_) canvas_->rectangle(left, top, right, bottom, brushColour(), penColour());
  RecordedCall call;
  call.left = left;
  call.top = top;
  call.right = right;
  call.bottom = bottom;
  record(DrawOp::Rectangle, std::move(call));
}

void RecordingSurface::patBlt(int x, int y, int width, int height) {
  // Negative sizes extend to the left or upwards, as the window system takes them.
  if (width < 0) {
    x += width;
    width = -width;
  }
  if (height < 0) {
    y += height;
    height = -height;
  }
  if (canvas_ && usable_) canvas_->fill(x, y, x + width, y + height, brushColour());
  RecordedCall call;
  call.left = x;
  call.top = y;
  call.right = x + width;
  call.bottom = y + height;
  record(DrawOp::PatBlt, std::move(call));
}

void RecordingSurface::setTextColor(Rgb colour) {
  state_.textColour = colour;
  RecordedCall call;
  call.colour = colour;
  record(DrawOp::SetTextColor, std::move(call));
}

void RecordingSurface::setBkColor(Rgb colour) {
  state_.bkColour = colour;
  RecordedCall call;
  call.colour = colour;
  record(DrawOp::SetBkColor, std::move(call));
}

void RecordingSurface::setBkModeTransparent() {
  state_.transparent = true;
  record(DrawOp::SetBkModeTransparent, RecordedCall{});
}

TextExtent RecordingSurface::textExtent(std::string_view text) {
  const int height = fontHeight();
  const TextExtent extent{static_cast<int>(text.size()) * (height / 2), height};
  RecordedCall call;
  call.right = extent.cx;
  call.bottom = extent.cy;
  call.text = std::string(text);
  record(DrawOp::TextExtent, std::move(call));
  return extent;
}

void RecordingSurface::textOut(int x, int y, std::string_view text) {
  const int height = fontHeight();
  StandingText standing;
  standing.x = x;
  standing.y = y;
  standing.width = static_cast<int>(text.size()) * (height / 2);
  standing.height = height;
  standing.text = std::string(text);
  standing.colour = state_.textColour;
  standing.font = state_.font;
  standing.opaque = !state_.transparent;
  if (canvas_ && usable_) {
    if (standing.opaque) {
      // The character cells are filled with the background colour first.
      canvas_->fill(x, y, x + standing.width, y + standing.height, state_.bkColour);
    }
    canvas_->writeText(standing);
  }
  RecordedCall call;
  call.left = x;
  call.top = y;
  call.right = x + standing.width;
  call.bottom = y + standing.height;
  call.text = std::move(standing.text);
  record(DrawOp::TextOut, std::move(call));
}

void RecordingSurface::copyFrom(DrawingSurface& source, int width, int height) {
  auto* recording = dynamic_cast<RecordingSurface*>(&source);
  if (recording == nullptr || !recording->usable_) ++misuseCount_;
  if (canvas_ && usable_ && recording != nullptr && recording->canvas_) {
    canvas_->copyFrom(*recording->canvas_, width, height);
  }
  RecordedCall call;
  call.right = width;
  call.bottom = height;
  record(DrawOp::CopyFrom, std::move(call));
}

std::optional<Rgb> RecordingSurface::colourAt(int x, int y) const {
  if (!canvas_) return std::nullopt;
  return canvas_->pixel(x, y);
}

std::optional<Rgb> RecordingSurface::cellColour(int left, int top, int right, int bottom) const {
  if (!canvas_) return std::nullopt;
  if (right - left > 2 && bottom - top > 2) {
    return canvas_->uniformColour(left + 1, top + 1, right - 1, bottom - 1);
  }
  return canvas_->uniformColour(left, top, right, bottom);
}

const StandingText* RecordingSurface::textAt(int x, int y) const {
  return canvas_ ? canvas_->textAt(x, y) : nullptr;
}

const StandingText* RecordingSurface::findText(const std::string& text) const {
  return canvas_ ? canvas_->findText(text) : nullptr;
}

}  // namespace mtd
