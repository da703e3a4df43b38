#pragma once

#include <cstdint>

#include "ui/CellRect.h"
#include "ui/DrawingSurface.h"
#include "ui/GridGeometry.h"
#include "ui/ScreenScale.h"

namespace mtd {

// Design units: the picture is laid out on a virtual screen 800 wide and 640 high.
inline constexpr int DESIGN_WIDTH = 800;
inline constexpr int DESIGN_HEIGHT = 640;

// The scale factors are products of a double constant and the screen size, stored in single
// precision; every later truncation depends on that rounding.
ScreenScale makeScreenScale(ScreenSize screen);

// trunc(design x scale), the product formed in double precision (exact for these operands).
int scaleX(const ScreenScale& scale, std::int64_t design);
int scaleY(const ScreenScale& scale, std::int64_t design);
// Truncation toward zero, kept inside int (NaN becomes 0).
int truncToInt(double value);

struct FontHeights {
  int small = 0;
  int large = 0;
};
// Scaled by the screen width, but never taller than the spacing of the lines they write, so a
// wide screen does not make neighbouring text lines overlap. At least one pixel.
FontHeights fontHeights(const ScreenScale& scale);

// The cell grid for a block of `blockLength` cells per row in the recorded client area. The
// result is invalid (and draws nothing) when the area or the block length leave no room for a
// cell of at least one pixel. Each row's cells end above the next band's label: when the cell
// side of the formula would reach into it, the largest smaller side that fits is used.
GridGeometry layoutGrid(const ScreenScale& scale, int clientWidth, int clientHeight,
                        std::int32_t blockLength);

// The parts of the layout: the cell side, in design units, that lets the block cover a band's
// area (0 when there is no area), and the grid for a given side.
int designCellSide(const ScreenScale& scale, int clientWidth, int clientHeight,
                   std::int32_t blockLength);
GridGeometry gridForCellSide(const ScreenScale& scale, int clientWidth, int clientHeight,
                             std::int32_t blockLength, int designCell);

// The pixel rectangle of a cell. Any position is placed by the same arithmetic; an invalid
// grid gives an empty rectangle.
CellRect cellRectOf(const GridGeometry& grid, const ScreenScale& scale, std::int32_t position,
                    int row);

// Row labels: y of row r's label, and x of a label of measured width cx, centred on the
// middle of the design screen.
int labelY(const GridGeometry& grid, const ScreenScale& scale, int row);
int labelX(const ScreenScale& scale, int textWidth);

}  // namespace mtd
