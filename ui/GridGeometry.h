#pragma once

namespace mtd {

struct GridGeometry {
  bool valid = false;  // false until a layout with at least one column and a positive cell
  int topMargin = 20;
  int bandHeight = 0;  // design units
  int cellWidth = 0;   // pixels
  int linePitch = 0;   // pixels
  int columns = 0;
  int lines = 0;
  int lastLineShift = 0;
  int leftMargin = 0;  // pixels
};

}  // namespace mtd
