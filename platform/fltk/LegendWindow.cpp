#include "platform/fltk/LegendWindow.h"

namespace mtd {

LegendWindow::LegendWindow(Graphics& graphics, const DrawingObjects& objects)
    : Fl_Window(colourLegendSize().width, colourLegendSize().height, "Colours"),
      legend_(graphics),
      surface_(objects, *this) {
  end();
  box(FL_NO_BOX);
  xclass("kolvane");
}

void LegendWindow::draw() {
  surface_.resetState();
  legend_.draw(surface_);
}

}  // namespace mtd
