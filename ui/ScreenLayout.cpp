#include "ui/ScreenLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace mtd {

namespace {

constexpr int TOP_MARGIN = 20;
constexpr int CELLS_BELOW_LABEL = 30;  // from a row's label down to its first cell line
constexpr int BAND_SPARE = 40;         // label and gap of a band, not covered by cells
constexpr int SIDE_MARGINS = 80;       // left plus right, design units

// Text line spacings that bound the font heights: statistics lines stand 20 units apart,
// the large status lines 30.
constexpr int SMALL_LINE_SPACING = 20;
constexpr int LARGE_LINE_SPACING = 30;

int clampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

int truncToInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double low = std::numeric_limits<int>::min();
  constexpr double high = std::numeric_limits<int>::max();
  return static_cast<int>(std::trunc(std::clamp(value, low, high)));
}

ScreenScale makeScreenScale(ScreenSize screen) {
  ScreenScale scale;
  scale.screenWidth = screen.width;
  scale.screenHeight = screen.height;
  scale.xScale = static_cast<float>(screen.width * 0.00125);
  scale.yScale = static_cast<float>(screen.height * 0.0015625);
  return scale;
}

int scaleX(const ScreenScale& scale, std::int64_t design) {
  return truncToInt(static_cast<double>(design) * static_cast<double>(scale.xScale));
}

int scaleY(const ScreenScale& scale, std::int64_t design) {
  return truncToInt(static_cast<double>(design) * static_cast<double>(scale.yScale));
}

FontHeights fontHeights(const ScreenScale& scale) {
  FontHeights heights;
  heights.small = std::max(1, std::min(scaleX(scale, 16), scaleY(scale, SMALL_LINE_SPACING)));
  heights.large = std::max(1, std::min(scaleX(scale, 26), scaleY(scale, LARGE_LINE_SPACING)));
  return heights;
}

namespace {

struct LayoutArea {
  int bandHeight = 0;        // design units
  double usableWidth = 0.0;  // design units, not truncated
  int cellArea = 0;          // design height of a band left for cells
};

LayoutArea layoutArea(const ScreenScale& scale, int clientHeight, int clientWidth) {
  LayoutArea area;
  area.bandHeight = truncToInt((clientHeight / 4) / static_cast<double>(scale.yScale));
  area.usableWidth = clientWidth / static_cast<double>(scale.xScale) - SIDE_MARGINS;
  area.cellArea = area.bandHeight - BAND_SPARE;
  return area;
}

bool usable(const ScreenScale& scale, int clientWidth, int clientHeight, std::int32_t blockLength) {
  return blockLength >= 1 && clientWidth >= 1 && clientHeight >= 1 && scale.xScale > 0.0f &&
         scale.yScale > 0.0f;
}

// Whether every row's cells end above the label of the band below (the SYNDROME row: above
// where a fourth label would stand, which is above the status lines).
bool rowsFitTheirBands(const GridGeometry& grid, const ScreenScale& scale,
                       std::int32_t blockLength) {
  for (int row = 0; row < 3; ++row) {
    if (cellRectOf(grid, scale, blockLength - 1, row).bottom > labelY(grid, scale, row + 1)) {
      return false;
    }
  }
  return true;
}

}  // namespace

int designCellSide(const ScreenScale& scale, int clientWidth, int clientHeight,
                   std::int32_t blockLength) {
  if (!usable(scale, clientWidth, clientHeight, blockLength)) return 0;
  const LayoutArea area = layoutArea(scale, clientHeight, clientWidth);
  if (!(area.usableWidth > 0.0) || area.cellArea <= 0) return 0;
  return truncToInt(std::sqrt(area.usableWidth * area.cellArea / blockLength));
}

GridGeometry gridForCellSide(const ScreenScale& scale, int clientWidth, int clientHeight,
                             std::int32_t blockLength, int designCell) {
  GridGeometry grid;
  grid.topMargin = TOP_MARGIN;
  if (!usable(scale, clientWidth, clientHeight, blockLength)) return grid;
  const LayoutArea area = layoutArea(scale, clientHeight, clientWidth);
  grid.bandHeight = area.bandHeight;
  if (!(area.usableWidth > 0.0) || area.cellArea <= 0 || designCell < 1) return grid;

  grid.columns = truncToInt(area.usableWidth / designCell);
  if (grid.columns < 1) return grid;
  grid.lines = blockLength / grid.columns + 1;  // the last line may hold no cell
  grid.lastLineShift = (grid.lines * grid.columns - blockLength) / 2;
  grid.cellWidth = scaleX(scale, designCell);
  // One line of cells is one cell side high, scaled once.
  grid.linePitch = scaleY(scale, designCell);
  if (grid.cellWidth < 1 || grid.linePitch < 1) return grid;
  grid.leftMargin =
      clampToInt((std::int64_t{clientWidth} - std::int64_t{grid.columns} * grid.cellWidth) / 2);
  grid.valid = true;
  return grid;
}

GridGeometry layoutGrid(const ScreenScale& scale, int clientWidth, int clientHeight,
                        std::int32_t blockLength) {
  const int side = designCellSide(scale, clientWidth, clientHeight, blockLength);
  GridGeometry grid = gridForCellSide(scale, clientWidth, clientHeight, blockLength, side);
  if (!grid.valid || rowsFitTheirBands(grid, scale, blockLength)) return grid;
  // The side covers the band's area, but whole lines of whole columns can need more height
  // than the band has: few cells in a wide band. The largest smaller side that fits is taken;
  // failing that, the smallest usable one.
  for (int smaller = side - 1; smaller >= 1; --smaller) {
    const GridGeometry candidate =
        gridForCellSide(scale, clientWidth, clientHeight, blockLength, smaller);
    if (!candidate.valid) break;
    grid = candidate;
    if (rowsFitTheirBands(grid, scale, blockLength)) break;
  }
  return grid;
}

CellRect cellRectOf(const GridGeometry& grid, const ScreenScale& scale, std::int32_t position,
                    int row) {
  if (!grid.valid) return {};
  const std::int64_t line = position / grid.columns;
  std::int64_t column = position % grid.columns;
  if (line == grid.lines - 1) column += grid.lastLineShift;
  const std::int64_t rowTop = scaleY(scale, std::int64_t{grid.topMargin} + CELLS_BELOW_LABEL +
                                                std::int64_t{row} * grid.bandHeight);
  CellRect rect;
  rect.left = clampToInt(grid.leftMargin + column * grid.cellWidth);
  rect.right = clampToInt(grid.leftMargin + (column + 1) * grid.cellWidth);
  rect.top = clampToInt(rowTop + line * grid.linePitch);
  rect.bottom = clampToInt(rowTop + (line + 1) * grid.linePitch);
  return rect;
}

int labelY(const GridGeometry& grid, const ScreenScale& scale, int row) {
  return scaleY(scale, std::int64_t{grid.topMargin} + std::int64_t{row} * grid.bandHeight);
}

int labelX(const ScreenScale& scale, int textWidth) {
  // Half the width is an integer division, taken before the subtraction.
  return truncToInt(DESIGN_WIDTH / 2 * static_cast<double>(scale.xScale) - textWidth / 2);
}

}  // namespace mtd
