#pragma once

namespace mtd {

struct ScreenScale {
  int screenWidth = 0;
  int screenHeight = 0;
  float xScale = 0.0f;  // single precision on purpose: the truncations depend on it
  float yScale = 0.0f;
};

}  // namespace mtd
