#pragma once

#include <FL/Fl_Window.H>

namespace mtd {

// Whether a window manager that follows the extended hints runs on the display.
bool windowManagerRunning();
// Asks the window manager to maximise a shown window horizontally and vertically.
void requestMaximised(Fl_Window& window);
// Whether the window manager reports the window maximised in both directions.
bool reportedMaximised(Fl_Window& window);
// Asks the window manager to offer no maximise or restore and no resizing of the window: the
// picture is laid out once, for the size the window has now.
void offerNoRestore(Fl_Window& window);
struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
// Moves the window so that its own top left corner (inside the window manager's frame) is at
// the point.
void moveClientTo(Fl_Window& window, ScreenPoint point);
// Without a window manager nobody maximises: the window takes the screen's work area itself.
void fillWorkArea(Fl_Window& window);

}  // namespace mtd
