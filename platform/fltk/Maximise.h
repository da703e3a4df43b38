#pragma once

#include <FL/Fl_Window.H>

namespace mtd {

// Whether a window manager that follows the extended hints runs on the display.
bool windowManagerRunning();
// Asks the window manager to maximise a shown window horizontally and vertically.
void requestMaximised(Fl_Window& window);
// Whether the window manager reports the window maximised in both directions.
bool reportedMaximised(Fl_Window& window);
// Without a window manager nobody maximises: the window takes the screen's work area itself.
void fillWorkArea(Fl_Window& window);

}  // namespace mtd
