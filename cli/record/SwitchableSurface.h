#pragma once

#include <string_view>

#include "ui/DrawingSurface.h"

namespace mtd::cli::record {

// A surface whose drawing can be switched off: the blocks a recording passes on its way to the
// chosen one need not be drawn, only simulated. Selections and text measures always go
// through, so the display lays out and draws exactly as it would once drawing is back on.
class SwitchableSurface final : public DrawingSurface {
 public:
  SwitchableSurface(DrawingSurface& target, const bool& drawing)
      : target_(target), drawing_(drawing) {}

  DrawingSurface& target() { return target_; }

  void selectObject(GdiObject object) override { target_.selectObject(object); }
  void rectangle(int left, int top, int right, int bottom) override {
    if (drawing_) target_.rectangle(left, top, right, bottom);
  }
  void patBlt(int x, int y, int width, int height) override {
    if (drawing_) target_.patBlt(x, y, width, height);
  }
  void setTextColor(Rgb colour) override { target_.setTextColor(colour); }
  void setBkColor(Rgb colour) override { target_.setBkColor(colour); }
  void setBkModeTransparent() override { target_.setBkModeTransparent(); }
  void textOut(int x, int y, std::string_view text) override {
    if (drawing_) target_.textOut(x, y, text);
  }
  TextExtent textExtent(std::string_view text) override { return target_.textExtent(text); }
  void copyFrom(DrawingSurface& source, int width, int height) override {
    auto* switchable = dynamic_cast<SwitchableSurface*>(&source);
    if (drawing_) target_.copyFrom(switchable ? switchable->target() : source, width, height);
  }

 private:
  DrawingSurface& target_;
  const bool& drawing_;
};

}  // namespace mtd::cli::record
