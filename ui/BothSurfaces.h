#pragma once

#include "ui/DrawingSurface.h"

namespace mtd {

// Every drawing goes first to the back buffer, then to the window's own surface, which is
// acquired for this one group and released after it.
template <typename Draw>
void drawOnBothSurfaces(Graphics& graphics, DrawingSurface& backBuffer, const Draw& draw) {
  draw(backBuffer);
  DrawingSurface& window = graphics.getWindowSurface();
  draw(window);
  graphics.releaseWindowSurface(window);
}

}  // namespace mtd
