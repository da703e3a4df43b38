#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "core/AnimationHooks.h"
#include "core/Limits.h"
#include "ui/ScreenLayout.h"

namespace mtd {
namespace {

TEST(ScreenScale, FactorsAreStoredInSinglePrecision) {
  const ScreenScale s800 = makeScreenScale({800, 640});
  EXPECT_EQ(s800.xScale, 1.0f);
  EXPECT_EQ(s800.yScale, 1.0f);

  const ScreenScale s1024 = makeScreenScale({1024, 768});
  EXPECT_EQ(s1024.xScale, 1.28f);  // 1.2799999713... once rounded to float
  EXPECT_LT(static_cast<double>(s1024.xScale), 1.28);
  EXPECT_GT(static_cast<double>(s1024.yScale), 1.2);
  // 400 x xScale is 511.99998..., so it truncates to 511; 25 x xScale to 31.
  EXPECT_EQ(scaleX(s1024, 400), 511);
  EXPECT_EQ(scaleX(s1024, 25), 31);
  EXPECT_EQ(scaleY(s1024, 50), 60);
}

TEST(ScreenScale, FontHeightsAreCappedByTheirLineSpacing) {
  const FontHeights at800 = fontHeights(makeScreenScale({800, 640}));
  EXPECT_EQ(at800.small, 16);
  EXPECT_EQ(at800.large, 26);
  const FontHeights at1024 = fontHeights(makeScreenScale({1024, 768}));
  EXPECT_EQ(at1024.small, 20);
  EXPECT_EQ(at1024.large, 33);
  // A wide screen: 16 x 2.4 = 38 and 26 x 2.4 = 62 would overrun lines 33 and 50 pixels apart.
  const FontHeights at1920 = fontHeights(makeScreenScale({1920, 1080}));
  EXPECT_EQ(at1920.small, 33);
  EXPECT_EQ(at1920.large, 50);
  // Never zero, which would ask the window system for its default height.
  const FontHeights tiny = fontHeights(makeScreenScale({40, 30}));
  EXPECT_EQ(tiny.small, 1);
  EXPECT_EQ(tiny.large, 1);
}

TEST(GridLayout, WorkedExampleAt800x640) {
  const ScreenScale scale = makeScreenScale({800, 640});
  const GridGeometry grid = layoutGrid(scale, 800, 600, 1000);
  ASSERT_TRUE(grid.valid);
  EXPECT_EQ(grid.topMargin, 20);
  EXPECT_EQ(grid.bandHeight, 150);
  EXPECT_EQ(grid.cellWidth, 8);
  EXPECT_EQ(grid.linePitch, 8);
  EXPECT_EQ(grid.columns, 90);
  EXPECT_EQ(grid.lines, 12);
  EXPECT_EQ(grid.lastLineShift, 40);
  EXPECT_EQ(grid.leftMargin, 40);

  EXPECT_EQ(cellRectOf(grid, scale, 0, ROW_DIFFERENCE), (CellRect{40, 50, 48, 58}));
  EXPECT_EQ(cellRectOf(grid, scale, 1, ROW_DIFFERENCE), (CellRect{48, 50, 56, 58}));
  EXPECT_EQ(cellRectOf(grid, scale, 90, ROW_DIFFERENCE), (CellRect{40, 58, 48, 66}));
  // Line 11, column 9 + 40.
  EXPECT_EQ(cellRectOf(grid, scale, 999, ROW_SYNDROME), (CellRect{432, 438, 440, 446}));
  EXPECT_EQ(cellRectOf(grid, scale, 0, ROW_INFORMATION), (CellRect{40, 200, 48, 208}));
  EXPECT_EQ(labelY(grid, scale, 0), 20);
  EXPECT_EQ(labelY(grid, scale, 1), 170);
  EXPECT_EQ(labelY(grid, scale, 2), 320);
}

TEST(GridLayout, WorkedExampleAt1024x768PitchesLinesByTheCellSideScaledOnce) {
  const ScreenScale scale = makeScreenScale({1024, 768});
  const GridGeometry grid = layoutGrid(scale, 1016, 700, 1000);
  ASSERT_TRUE(grid.valid);
  EXPECT_EQ(grid.bandHeight, 145);
  EXPECT_EQ(grid.columns, 89);
  EXPECT_EQ(grid.lines, 12);
  EXPECT_EQ(grid.lastLineShift, 34);
  EXPECT_EQ(grid.cellWidth, 10);
  EXPECT_EQ(grid.linePitch, 9);  // trunc(8 x 1.2000000477)
  EXPECT_EQ(grid.leftMargin, 63);

  // Row tops trunc(50 x yScale) = 60 and trunc(340 x yScale) = 408, then 9 pixels per line.
  EXPECT_EQ(cellRectOf(grid, scale, 0, ROW_DIFFERENCE), (CellRect{63, 60, 73, 69}));
  EXPECT_EQ(cellRectOf(grid, scale, 89, ROW_DIFFERENCE), (CellRect{63, 69, 73, 78}));
  EXPECT_EQ(cellRectOf(grid, scale, 999, ROW_DIFFERENCE), (CellRect{603, 159, 613, 168}));
  EXPECT_EQ(cellRectOf(grid, scale, 0, ROW_INFORMATION), (CellRect{63, 234, 73, 243}));
  EXPECT_EQ(cellRectOf(grid, scale, 999, ROW_SYNDROME), (CellRect{603, 507, 613, 516}));
  EXPECT_EQ(labelY(grid, scale, 0), 24);
  EXPECT_EQ(labelY(grid, scale, 1), 198);
  EXPECT_EQ(labelY(grid, scale, 2), 372);
  // The last line of a row ends above the next row's label.
  EXPECT_LT(cellRectOf(grid, scale, 999, ROW_DIFFERENCE).bottom, labelY(grid, scale, 1));
}

TEST(GridLayout, TallScreenKeepsEachRowInItsBand) {
  // At 1280 x 1024 a pitch scaled twice would push the DIFFERENCE row down to y = 310, past
  // the INFORMATION label at 265.
  const ScreenScale scale = makeScreenScale({1280, 1024});
  const GridGeometry grid = layoutGrid(scale, 1272, 940, 1000);
  ASSERT_TRUE(grid.valid);
  EXPECT_EQ(grid.bandHeight, 146);
  EXPECT_EQ(grid.linePitch, 12);
  EXPECT_EQ(grid.lines, 12);
  const CellRect last = cellRectOf(grid, scale, 999, ROW_DIFFERENCE);
  EXPECT_EQ(last.top, 80 + 11 * 12);
  EXPECT_EQ(last.bottom, 80 + 12 * 12);
  EXPECT_EQ(labelY(grid, scale, 1), 265);
  EXPECT_LT(last.bottom, labelY(grid, scale, 1));
}

TEST(GridLayout, LastLineEdgeCases) {
  const ScreenScale scale = makeScreenScale({800, 640});
  // K a multiple of the columns: the last line is empty and no cell moves.
  const GridGeometry full = layoutGrid(scale, 800, 600, 990);
  ASSERT_TRUE(full.valid);
  EXPECT_EQ(full.columns, 90);
  EXPECT_EQ(full.lines, 12);
  EXPECT_EQ(cellRectOf(full, scale, 989, ROW_DIFFERENCE), (CellRect{752, 130, 760, 138}));
  EXPECT_EQ(cellRectOf(full, scale, 900, ROW_DIFFERENCE).left, 40);

  // K = columns x n + 1: one cell on the last line, shifted by (columns - 1) / 2.
  const GridGeometry single = layoutGrid(scale, 800, 600, 991);
  ASSERT_TRUE(single.valid);
  EXPECT_EQ(single.lastLineShift, 44);
  EXPECT_EQ(cellRectOf(single, scale, 990, ROW_DIFFERENCE), (CellRect{392, 138, 400, 146}));

  // A position of K goes to the last line at column K % columns + shift.
  const GridGeometry grid = layoutGrid(scale, 800, 600, 1000);
  EXPECT_EQ(cellRectOf(grid, scale, 1000, ROW_SYNDROME), (CellRect{440, 438, 448, 446}));
}

TEST(GridLayout, FiftyColumnsAndAThousandCellsLeaveLine20Empty) {
  // 400 x 600 at scale 1: c = 320, cell side trunc(sqrt(320 x 110 / 1000)) = 5, 64 columns;
  // with client width 330, c = 250 and the side 5 gives 50 columns.
  const ScreenScale scale = makeScreenScale({800, 640});
  const GridGeometry grid = layoutGrid(scale, 330, 600, 1000);
  ASSERT_TRUE(grid.valid);
  EXPECT_EQ(grid.columns, 50);
  EXPECT_EQ(grid.lines, 21);
  EXPECT_EQ(grid.lastLineShift, 25);
  const CellRect last = cellRectOf(grid, scale, 999, ROW_DIFFERENCE);
  EXPECT_EQ(last.left, grid.leftMargin + 49 * grid.cellWidth);  // line 19, unshifted
  EXPECT_EQ(last.top, 50 + 19 * grid.linePitch);
}

TEST(GridLayout, LabelsAreCentredWithTheHalfWidthTruncatedFirst) {
  const ScreenScale s800 = makeScreenScale({800, 640});
  EXPECT_EQ(labelX(s800, 101), 350);  // 101 / 2 = 50
  EXPECT_EQ(labelX(s800, 100), 350);
  EXPECT_EQ(labelX(s800, 80), 360);
  // 511.99998 - 50 truncates to 461, not 462.
  EXPECT_EQ(labelX(makeScreenScale({1024, 768}), 100), 461);
}

struct Overlap {
  static bool none(int topA, int bottomA, int topB, int bottomB) {
    return bottomA <= topB || bottomB <= topA;
  }
};

TEST(GridLayout, FullHdScreenRowsLabelsAndTextsDoNotOverlap) {
  const ScreenScale scale = makeScreenScale({1920, 1080});
  const FontHeights fonts = fontHeights(scale);
  for (const int clientHeight : {1080, 1050, 1017, 1001}) {
    SCOPED_TRACE(clientHeight);
    const GridGeometry grid = layoutGrid(scale, 1920, clientHeight, 1000);
    ASSERT_TRUE(grid.valid);
    for (int row = 0; row < 3; ++row) {
      const int labelTop = labelY(grid, scale, row);
      const CellRect first = cellRectOf(grid, scale, 0, row);
      const CellRect last = cellRectOf(grid, scale, 999, row);
      EXPECT_LE(labelTop + fonts.small, first.top) << "label over its own row " << row;
      if (row < 2) {
        EXPECT_LT(last.bottom, labelY(grid, scale, row + 1)) << "row " << row;
      }
    }
    // The status lines start below the SYNDROME row, and the three lines of a column keep apart.
    const int b = grid.bandHeight;
    const int statusTop = scaleY(scale, 3 * b + 40);
    EXPECT_LT(cellRectOf(grid, scale, 999, ROW_SYNDROME).bottom, statusTop);
    EXPECT_TRUE(Overlap::none(statusTop, statusTop + fonts.large, scaleY(scale, 3 * b + 70),
                              scaleY(scale, 3 * b + 70) + fonts.large));
    EXPECT_TRUE(Overlap::none(scaleY(scale, 3 * b + 70), scaleY(scale, 3 * b + 70) + fonts.large,
                              scaleY(scale, 3 * b + 100),
                              scaleY(scale, 3 * b + 100) + fonts.large));
    EXPECT_LE(scaleY(scale, 3 * b + 100) + fonts.large, clientHeight);
    // Statistics lines, 20 units apart for the small font and 40 below a heading.
    const int offsets[] = {-100, -60, -40, -20, 30, 70, 90, 110, 160, 180, 200};
    const bool large[] = {true,  false, false, false, true, false,
                          false, false, false, false, false};
    for (int i = 0; i + 1 < 11; ++i) {
      const int top = scaleY(scale, b + offsets[i]);
      const int next = scaleY(scale, b + offsets[i + 1]);
      EXPECT_LE(top + (large[i] ? fonts.large : fonts.small), next) << "offset " << offsets[i];
    }
  }
}

TEST(GridLayout, ThirtyCellsAt800x640TakeASmallerSideThatEndsAboveTheNextLabel) {
  // The formula's side 51 gives 14 columns and three lines, 153 units in a band with 120 below
  // the cells' top; side 48 gives 15 columns and two full lines.
  const ScreenScale scale = makeScreenScale({800, 640});
  EXPECT_EQ(designCellSide(scale, 800, 600, 30), 51);
  const GridGeometry grid = layoutGrid(scale, 800, 600, 30);
  ASSERT_TRUE(grid.valid);
  EXPECT_EQ(grid.cellWidth, 48);
  EXPECT_EQ(grid.linePitch, 48);
  EXPECT_EQ(grid.columns, 15);
  EXPECT_EQ(grid.lines, 3);
  EXPECT_EQ(grid.lastLineShift, 7);
  EXPECT_EQ(grid.leftMargin, 40);
  EXPECT_EQ(cellRectOf(grid, scale, 29, ROW_DIFFERENCE), (CellRect{712, 98, 760, 146}));
  EXPECT_EQ(cellRectOf(grid, scale, 29, ROW_SYNDROME), (CellRect{712, 398, 760, 446}));
}

// Every block length at the three screen sizes, with the client areas the window gets there:
// no row reaches the next band's label, and a layout whose formula side already fits keeps it.
TEST(GridLayout, EveryBlockLengthKeepsItsRowsInTheirBands) {
  const std::vector<std::pair<ScreenSize, std::vector<ScreenSize>>> screens = {
      {{800, 640}, {{800, 600}, {800, 615}}},
      {{1024, 768}, {{1016, 700}, {1024, 743}, {1024, 718}}},
      {{1920, 1080}, {{1920, 1055}, {1920, 1030}, {1920, 1001}}},
  };
  int shrunk = 0;
  for (const auto& [screen, clients] : screens) {
    const ScreenScale scale = makeScreenScale(screen);
    for (const ScreenSize client : clients) {
      for (std::int32_t nbl = 1; nbl <= BLOCK_CAPACITY; ++nbl) {
        const GridGeometry grid = layoutGrid(scale, client.width, client.height, nbl);
        ASSERT_TRUE(grid.valid) << client.width << "x" << client.height << " nbl=" << nbl;
        bool fits = true;
        for (int row = 0; row < 3; ++row) {
          const int end = cellRectOf(grid, scale, nbl - 1, row).bottom;
          fits = fits && end <= labelY(grid, scale, row + 1);
        }
        ASSERT_TRUE(fits) << client.width << "x" << client.height << " nbl=" << nbl;
        const int side = designCellSide(scale, client.width, client.height, nbl);
        const GridGeometry formula = gridForCellSide(scale, client.width, client.height, nbl, side);
        bool formulaFits = true;
        for (int row = 0; row < 3; ++row) {
          const int end = cellRectOf(formula, scale, nbl - 1, row).bottom;
          formulaFits = formulaFits && end <= labelY(formula, scale, row + 1);
        }
        if (formulaFits) {
          ASSERT_EQ(
              std::tie(grid.cellWidth, grid.linePitch, grid.columns, grid.leftMargin),
              std::tie(formula.cellWidth, formula.linePitch, formula.columns, formula.leftMargin))
              << "nbl=" << nbl;
        } else {
          ++shrunk;
          EXPECT_LE(grid.cellWidth, formula.cellWidth) << "nbl=" << nbl;
          EXPECT_LE(grid.linePitch, formula.linePitch) << "nbl=" << nbl;
        }
      }
    }
  }
  EXPECT_GT(shrunk, 0);  // the short blocks that overran their bands
}

TEST(GridLayout, UnusableSizesGiveNoGrid) {
  const ScreenScale scale = makeScreenScale({800, 640});
  EXPECT_FALSE(layoutGrid(scale, 0, 0, 1000).valid);   // before the first sizing
  EXPECT_FALSE(layoutGrid(scale, 800, 600, 0).valid);  // no block
  EXPECT_FALSE(layoutGrid(scale, 800, 600, -5).valid);
  EXPECT_FALSE(layoutGrid(scale, 800, 100, 1000).valid);  // band of 25 units, below 40
  EXPECT_FALSE(layoutGrid(scale, 80, 600, 1000).valid);   // no usable width
  EXPECT_FALSE(layoutGrid(scale, 200, 200, 2200).valid);  // side trunc(0.73) = 0
  EXPECT_FALSE(layoutGrid(makeScreenScale({0, 0}), 800, 600, 1000).valid);
  // A tiny screen whose scaled cell side would be 0 pixels.
  EXPECT_FALSE(layoutGrid(makeScreenScale({40, 40}), 40, 40, 1000).valid);
  // And an invalid grid places no cell.
  EXPECT_EQ(cellRectOf(layoutGrid(scale, 0, 0, 1000), scale, 5, 0), CellRect{});
  // The smallest usable screen still gets one-pixel cells.
  const GridGeometry smallest = layoutGrid(makeScreenScale({100, 80}), 100, 80, 1000);
  ASSERT_TRUE(smallest.valid);
  EXPECT_EQ(smallest.cellWidth, 1);
  EXPECT_EQ(smallest.linePitch, 1);
}

}  // namespace
}  // namespace mtd
