#pragma once

#include <memory>
#include <string_view>

#include "platform/raster/RasterGraphics.h"
#include "tests/support/RecordingGraphics.h"

namespace mtd::testing {

// Every drawing call goes to two windows at once: the raster one the recording takes its
// frames from, and a recording one that keeps what the display asked for (the cells' colours
// and the texts standing). Text is measured by the raster surface, so both lay out alike.
class TeeSurface final : public DrawingSurface {
 public:
  TeeSurface(DrawingSurface& raster, DrawingSurface& model) : raster_(raster), model_(model) {}

  void selectObject(GdiObject object) override {
    raster_.selectObject(object);
    model_.selectObject(object);
  }
  void rectangle(int left, int top, int right, int bottom) override {
    raster_.rectangle(left, top, right, bottom);
    model_.rectangle(left, top, right, bottom);
  }
  void patBlt(int x, int y, int width, int height) override {
    raster_.patBlt(x, y, width, height);
    model_.patBlt(x, y, width, height);
  }
  void setTextColor(Rgb colour) override {
    raster_.setTextColor(colour);
    model_.setTextColor(colour);
  }
  void setBkColor(Rgb colour) override {
    raster_.setBkColor(colour);
    model_.setBkColor(colour);
  }
  void setBkModeTransparent() override {
    raster_.setBkModeTransparent();
    model_.setBkModeTransparent();
  }
  void textOut(int x, int y, std::string_view text) override {
    raster_.textOut(x, y, text);
    model_.textOut(x, y, text);
  }
  TextExtent textExtent(std::string_view text) override {
    model_.textExtent(text);
    return raster_.textExtent(text);
  }
  void copyFrom(DrawingSurface& source, int width, int height) override {
    auto& tee = dynamic_cast<TeeSurface&>(source);
    raster_.copyFrom(tee.raster_, width, height);
    model_.copyFrom(tee.model_, width, height);
  }

 private:
  DrawingSurface& raster_;
  DrawingSurface& model_;
};

class TeeGraphics final : public Graphics {
 public:
  explicit TeeGraphics(ScreenSize screen) : raster(screen, screen), model(screen) {
    model.setLogLimit(0);  // a whole block is millions of calls; the canvas is what counts
  }

  ScreenSize screenSize() override { return raster.screenSize(); }
  DrawingSurface& createBackBuffer(int width, int height) override {
    DrawingSurface& r = raster.createBackBuffer(width, height);
    DrawingSurface& m = model.createBackBuffer(width, height);
    back_ = std::make_unique<TeeSurface>(r, m);
    return *back_;
  }
  void deleteBackBuffer() override {
    raster.deleteBackBuffer();
    model.deleteBackBuffer();
  }
  // Both number their objects from 1 in the order made, so one id names the same object.
  GdiObject createSolidBrush(Rgb colour) override {
    model.createSolidBrush(colour);
    return raster.createSolidBrush(colour);
  }
  GdiObject createPen(Rgb colour) override {
    model.createPen(colour);
    return raster.createPen(colour);
  }
  GdiObject createFont(const FontSpec& font) override {
    model.createFont(font);
    return raster.createFont(font);
  }
  void deleteObject(GdiObject object) override {
    raster.deleteObject(object);
    model.deleteObject(object);
  }
  DrawingSurface& getWindowSurface() override {
    window_ = std::make_unique<TeeSurface>(raster.getWindowSurface(), model.getWindowSurface());
    return *window_;
  }
  void releaseWindowSurface(DrawingSurface&) override {
    raster.releaseWindowSurface(raster.window());
    model.releaseWindowSurface(model.windowSurface());
  }

  RasterGraphics raster;
  RecordingGraphics model;

 private:
  std::unique_ptr<TeeSurface> back_;
  std::unique_ptr<TeeSurface> window_;
};

}  // namespace mtd::testing
