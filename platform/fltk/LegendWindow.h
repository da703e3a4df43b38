#pragma once

#include <FL/Fl_Window.H>

#include "platform/fltk/Surfaces.h"
#include "ui/ColourLegend.h"

namespace mtd {

// The colour legend's own window, beside the main one: it draws ui's legend through the same
// surface model as the main window and hides when closed, to be shown again by Colours.
class LegendWindow : public Fl_Window {
 public:
  LegendWindow(Graphics& graphics, const DrawingObjects& objects);
  void draw() override;

 private:
  ColourLegend legend_;
  WindowSurface surface_;
};

}  // namespace mtd
