#pragma once

#include <optional>
#include <string_view>

#include "Screenshot.h"

namespace mtd::e2e {

// Where a window's client area lies on the screen, in screen pixels.
struct ClientArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// An X geometry "WxH+X+Y", as the caller read it from the window system.
std::optional<ClientArea> parseClientGeometry(std::string_view text);

// The client area of the maximised demo window: the program fills it black, so its top is the
// first line below the caption and menu bar that is black right across, and it reaches the
// screen's left, right and bottom edges (a maximised window's frame lies off-screen).
std::optional<ClientArea> findMaximisedClientArea(const Screenshot& shot);

}  // namespace mtd::e2e
