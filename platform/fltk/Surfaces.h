#pragma once

#include <FL/Fl_Device.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "platform/fltk/DrawingObjects.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The GDI model of a drawing surface over FLTK's drawing calls: the selected brush, pen and font
// and the text colours stay with the surface; each operation makes the surface's X drawable
// FLTK's current one for its duration.
class FltkSurface : public DrawingSurface {
 public:
  explicit FltkSurface(const DrawingObjects& objects) : objects_(objects) {}

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

 protected:
  // Makes the surface current for FLTK's drawing calls; false when there is nothing to draw on.
  virtual bool begin() = 0;
  virtual void end() = 0;

 private:
  void useFont();

  const DrawingObjects& objects_;
  DrawingObject brush_;
  DrawingObject pen_;
  DrawingObject font_;
  Rgb textColour_;
  Rgb bkColour_;
  bool transparent_ = false;
};

// The screen-sized memory surface: an X pixmap of the screen's depth.
class OffscreenSurface : public FltkSurface {
 public:
  OffscreenSurface(const DrawingObjects& objects, int width, int height);
  ~OffscreenSurface() override;
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;

  Fl_Offscreen pixmap() const { return pixmap_; }

 protected:
  bool begin() override;
  void end() override;

 private:
  Fl_Offscreen pixmap_ = 0;
  GC gc_ = nullptr;
  Window savedWindow_ = 0;
  GC savedGc_ = nullptr;
  Fl_Surface_Device* savedDevice_ = nullptr;
};

// The client area of the window, drawn on directly.
class WindowSurface : public FltkSurface {
 public:
  WindowSurface(const DrawingObjects& objects, Fl_Window& clientArea)
      : FltkSurface(objects), clientArea_(clientArea) {}

 protected:
  bool begin() override;
  void end() override;

 private:
  Fl_Window& clientArea_;
  Window savedWindow_ = 0;
  GC savedGc_ = nullptr;
};

}  // namespace mtd
