#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/PixelCanvas.h"
#include "ui/DrawingSurface.h"

namespace mtd {

class RecordingGraphics;

enum class DrawOp {
  SelectObject,
  Rectangle,
  PatBlt,
  SetTextColor,
  SetBkColor,
  SetBkModeTransparent,
  TextOut,
  TextExtent,
  CopyFrom,
};
inline constexpr int DRAW_OP_COUNT = 9;

// What a surface has selected and set; a freshly acquired window surface has the window
// system's defaults (no object of the program, black text on an opaque white background).
struct SurfaceState {
  GdiObject brush;
  GdiObject pen;
  GdiObject font;
  Rgb textColour{0, 0, 0};
  Rgb bkColour{255, 255, 255};
  bool transparent = false;
};

// One drawing call, with the surface's state after it.
struct RecordedCall {
  DrawOp op = DrawOp::SelectObject;
  // Rectangle and PatBlt: the area as left, top, right, bottom (PatBlt's width and height
  // added); TextOut and TextExtent: the text's extent box at its corner; CopyFrom: the size.
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  GdiObject object;  // SelectObject
  Rgb colour;        // SetTextColor, SetBkColor
  std::string text;  // TextOut, TextExtent
  SurfaceState state;
};

// A DrawingSurface that keeps its calls and a model of its picture (see PixelCanvas).
//
// Text extents follow a fixed-width rule: every character is half the font height wide, so
// cx = length x (height / 2) and cy = height, with the height of the selected font's FontSpec
// (16 when no font of the program is selected).
//
// The log keeps the latest calls up to the graphics' log limit; counts cover every call.
class RecordingSurface : public DrawingSurface {
 public:
  static constexpr int DEFAULT_FONT_HEIGHT = 16;

  RecordingSurface(RecordingGraphics& owner, std::string name, int width, int height,
                   bool keepCanvas);

  // DrawingSurface
  void selectObject(GdiObject object) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void patBlt(int x, int y, int width, int height) override;
  void setTextColor(Rgb colour) override;
  void setBkColor(Rgb colour) override;
  void setBkModeTransparent() override;
  void textOut(int x, int y, std::string_view text) override;
  TextExtent textExtent(std::string_view text) override;
  void copyFrom(DrawingSurface& source, int width, int height) override;

  const std::string& name() const { return name_; }
  int width() const { return width_; }
  int height() const { return height_; }
  const SurfaceState& state() const { return state_; }

  // The picture; nothing when the graphics keep no canvas.
  const PixelCanvas* canvas() const { return canvas_.get(); }
  std::optional<Rgb> colourAt(int x, int y) const;
  // The colour inside a cell's border (the whole area when it is too small to have an inside).
  std::optional<Rgb> cellColour(int left, int top, int right, int bottom) const;
  const StandingText* textAt(int x, int y) const;
  const StandingText* findText(const std::string& text) const;

  const std::deque<RecordedCall>& log() const { return log_; }
  void clearLog() { log_.clear(); }
  std::int64_t callCount() const { return callCount_; }
  std::int64_t count(DrawOp op) const { return opCounts_[static_cast<int>(op)]; }
  // Calls made while the surface could not be drawn on: a window surface not acquired, or a
  // deleted back buffer. A correct program makes none.
  std::int64_t misuseCount() const { return misuseCount_; }

  // Called after every drawing call (also when the log is off), e.g. to act when a given
  // cell is painted.
  void setObserver(std::function<void(const RecordedCall&)> observer) {
    observer_ = std::move(observer);
  }

  // Used by RecordingGraphics.
  void resetState() { state_ = SurfaceState{}; }
  void setUsable(bool usable) { usable_ = usable; }
  bool usable() const { return usable_; }
  void enableCanvas(bool enabled);
  void trimLog(std::size_t limit);

 private:
  void record(DrawOp op, RecordedCall call);
  Rgb brushColour() const;
  Rgb penColour() const;
  int fontHeight() const;

  RecordingGraphics& owner_;
  std::string name_;
  int width_;
  int height_;
  SurfaceState state_;
  std::unique_ptr<PixelCanvas> canvas_;
  std::deque<RecordedCall> log_;
  std::array<std::int64_t, DRAW_OP_COUNT> opCounts_{};
  std::int64_t callCount_ = 0;
  std::int64_t misuseCount_ = 0;
  bool usable_ = true;
  std::function<void(const RecordedCall&)> observer_;
};

}  // namespace mtd
