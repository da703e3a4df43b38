#pragma once

namespace mtd {

// A cell's pixels: left..right-1 by top..bottom-1, its border included.
struct CellRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend constexpr bool operator==(const CellRect&, const CellRect&) = default;
};

}  // namespace mtd
