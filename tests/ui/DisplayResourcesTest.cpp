#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "UiTestSupport.h"

namespace mtd::testing {
namespace {

using Kind = GraphicsEventKind;

TEST(DisplayResources, CreateDisplayMakesTheBufferPaletteSPensAndFontsInOrder) {
  DisplayBench bench({800, 640}, {800, 600});
  const auto& events = bench.graphics.events();
  ASSERT_EQ(events.size(), 3u + 13u + 2u + 2u);
  EXPECT_EQ(events[0].kind, Kind::AcquireWindowSurface);
  EXPECT_EQ(events[1].kind, Kind::CreateBackBuffer);
  EXPECT_EQ(events[2].kind, Kind::ReleaseWindowSurface);
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(events[3 + i].kind, Kind::CreateObject);
    EXPECT_EQ(events[3 + i].object.id, i + 1);
  }
  for (int i = 0; i < BRUSH_COUNT; ++i) {
    const ObjectRecord* brush = bench.graphics.object({i + 1});
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush->kind, ObjectKind::Brush);
    EXPECT_EQ(brush->colour, PALETTE[i]) << "brush " << i;
  }
  for (int id : {14, 15}) {
    EXPECT_EQ(bench.graphics.object({id})->kind, ObjectKind::Pen);
    EXPECT_EQ(bench.graphics.object({id})->colour, (Rgb{0, 0, 0}));
  }
  const FontSpec small = bench.graphics.object({16})->font;
  const FontSpec large = bench.graphics.object({17})->font;
  EXPECT_EQ(small.height, 16);
  EXPECT_EQ(large.height, 26);
  for (const FontSpec& font : {small, large}) {
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.charSet, 0);
    EXPECT_EQ(font.pitchAndFamily, 16);
    EXPECT_EQ(font.face, "Arial");
  }

  // A screen-sized buffer, black all over, with a transparent text background.
  RecordingSurface& back = bench.back();
  EXPECT_EQ(back.width(), 800);
  EXPECT_EQ(back.height(), 640);
  EXPECT_EQ(back.canvas()->uniformColour(0, 0, 800, 640), (Rgb{0, 0, 0}));
  EXPECT_TRUE(back.state().transparent);
  EXPECT_EQ(back.state().brush.id, 13);  // the clearing brush
  EXPECT_EQ(bench.display.scale().screenWidth, 800);
  EXPECT_EQ(bench.display.scale().xScale, 1.0f);
}

TEST(DisplayResources, FontsAt1024x768) {
  DisplayBench bench({1024, 768}, {1016, 700});
  EXPECT_EQ(bench.graphics.object({16})->font.height, 20);
  EXPECT_EQ(bench.graphics.object({17})->font.height, 33);
}

TEST(DisplayResources, ReleaseDeletesEveryObjectInCreationOrderThenTheBuffer) {
  DisplayBench bench({800, 640}, {800, 600});
  bench.display.drawEmptyGrid();
  bench.display.releaseResources();
  std::vector<int> order;
  for (GdiObject object : bench.graphics.deletionOrder()) order.push_back(object.id);
  const std::vector<int> creation = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  EXPECT_EQ(order, creation);
  EXPECT_EQ(bench.graphics.events().back().kind, Kind::DeleteBackBuffer);
  EXPECT_EQ(bench.graphics.liveObjectCount(), 0);
  EXPECT_EQ(bench.graphics.backBuffersDeleted(), 1);
  EXPECT_FALSE(bench.display.created());

  // A second release and later drawing touch nothing.
  bench.display.releaseResources();
  bench.display.drawCell(0, Brush::InfoError, ROW_INFORMATION);
  bench.display.drawEmptyGrid();
  EXPECT_EQ(bench.graphics.misuseCount(), 0);
  EXPECT_EQ(bench.back().misuseCount(), 0);
  EXPECT_EQ(bench.graphics.acquireCount(), bench.graphics.releaseCount());
}

TEST(DisplayResources, DrawCellPaintsTheBufferThenTheWindowAcquiredForTheCall) {
  DisplayBench bench({800, 640}, {800, 600});
  bench.display.drawEmptyGrid();
  const auto acquiresBefore = bench.graphics.acquireCount();
  bench.back().clearLog();
  bench.window().clearLog();

  bench.display.drawCell(90, Brush::DifferenceCorrect, ROW_DIFFERENCE);

  EXPECT_EQ(bench.graphics.acquireCount(), acquiresBefore + 1);
  EXPECT_EQ(bench.graphics.releaseCount(), bench.graphics.acquireCount());
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    SCOPED_TRACE(surface->name());
    ASSERT_EQ(surface->log().size(), 3u);
    EXPECT_EQ(surface->log()[0].op, DrawOp::SelectObject);
    EXPECT_EQ(surface->log()[0].object.id, 10);  // the white difference brush
    EXPECT_EQ(surface->log()[1].object.id, 14);  // the cell pen
    const RecordedCall& rect = surface->log()[2];
    EXPECT_EQ(rect.op, DrawOp::Rectangle);
    EXPECT_EQ((CellRect{rect.left, rect.top, rect.right, rect.bottom}), (CellRect{40, 58, 48, 66}));
    // Inside white, the border black, the neighbours untouched.
    EXPECT_EQ(surface->cellColour(40, 58, 48, 66), (Rgb{255, 255, 255}));
    EXPECT_EQ(surface->colourAt(40, 58), (Rgb{0, 0, 0}));
    EXPECT_EQ(surface->colourAt(47, 65), (Rgb{0, 0, 0}));
    EXPECT_EQ(bench.cellOn(*surface, 91, ROW_DIFFERENCE), (Rgb{0, 128, 128}));
  }
  EXPECT_EQ(bench.window().misuseCount(), 0);
}

TEST(DisplayResources, EmptyGridClearsTheTallyPaintsRowByRowAndCentresTheLabels) {
  DisplayBench bench({800, 640}, {800, 600});
  bench.sim.blockTally.counts[1] = 66;
  bench.sim.blockTally.weights[0] = 416;
  const auto acquiresBefore = bench.graphics.acquireCount();

  bench.display.drawEmptyGrid();

  EXPECT_EQ(bench.sim.blockTally.counts[1], 0);
  EXPECT_EQ(bench.sim.blockTally.weights[0], 0);
  EXPECT_TRUE(bench.display.geometry().valid);
  // One acquisition per cell and one for the labels.
  EXPECT_EQ(bench.graphics.acquireCount() - acquiresBefore, 3001);
  const Rgb empty[3] = {{0, 128, 128}, {0, 255, 0}, {128, 0, 128}};
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    SCOPED_TRACE(surface->name());
    for (int row = 0; row < 3; ++row) {
      for (std::int32_t position = 0; position < 1000; ++position) {
        ASSERT_EQ(bench.cellOn(*surface, position, row), empty[row])
            << "row " << row << " position " << position;
      }
    }
    // Each row is finished before the next begins.
    std::vector<int> rowOfRectangle;
    for (const RecordedCall& call : surface->log()) {
      if (call.op == DrawOp::Rectangle)
        rowOfRectangle.push_back(call.top < 200 ? 0 : call.top < 350 ? 1 : 2);
    }
    ASSERT_EQ(rowOfRectangle.size(), 3000u);
    EXPECT_TRUE(std::is_sorted(rowOfRectangle.begin(), rowOfRectangle.end()));

    const struct {
      int x, y;
      const char* text;
    } labels[] = {{360, 20, "DIFFERENCE"}, {356, 170, "INFORMATION"}, {368, 320, "SYNDROME"}};
    for (const auto& label : labels) {
      const StandingText* text = surface->textAt(label.x, label.y);
      ASSERT_NE(text, nullptr) << label.text;
      EXPECT_EQ(text->text, label.text);
      EXPECT_EQ(text->colour, (Rgb{255, 255, 0}));
      EXPECT_EQ(text->font.id, 16);
      EXPECT_FALSE(text->opaque);
    }
  }
}

TEST(DisplayResources, LabelsAt1024x768StandWhereTheirMeasuredWidthPutsThem) {
  DisplayBench bench({1024, 768}, {1016, 700});
  bench.display.drawEmptyGrid();
  // Ten characters of the 20-pixel font measure 100 pixels: 511.99998 - 50 gives 461.
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    ASSERT_NE(surface->textAt(461, 24), nullptr);
    EXPECT_EQ(surface->textAt(461, 24)->text, "DIFFERENCE");
    EXPECT_EQ(surface->textAt(456, 198)->text, "INFORMATION");
    EXPECT_EQ(surface->textAt(471, 372)->text, "SYNDROME");
  }
  EXPECT_EQ(bench.cellOn(bench.back(), 999, ROW_SYNDROME), (Rgb{128, 0, 128}));
  EXPECT_EQ(bench.display.cellRect(999, ROW_SYNDROME), (CellRect{603, 507, 613, 516}));
}

TEST(DisplayResources, PaintWindowCopiesTheWholeBuffer) {
  DisplayBench bench({800, 640}, {800, 600});
  bench.display.drawEmptyGrid();
  bench.display.drawIterationLine(0);  // its big box goes to the buffer alone
  EXPECT_FALSE(bench.window().colourAt(700, 590).has_value());

  DrawingSurface& paint = bench.graphics.beginPaint();
  bench.display.paintWindow(paint);
  bench.graphics.endPaint();

  const RecordedCall& copy = bench.window().log().back();
  EXPECT_EQ(copy.op, DrawOp::CopyFrom);
  EXPECT_EQ(copy.right, 800);
  EXPECT_EQ(copy.bottom, 640);
  EXPECT_EQ(bench.window().colourAt(700, 590), (Rgb{0, 0, 0}));
  // The window is the 800 x 600 client area; the copy is clipped to it.
  for (int y = 0; y < 600; y += 7) {
    for (int x = 0; x < 800; x += 5) {
      ASSERT_EQ(bench.window().colourAt(x, y), bench.back().colourAt(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(bench.graphics.misuseCount(), 0);
}

TEST(DisplayResources, NoCellOrLabelBeforeTheClientSizeIsKnown) {
  RecordingGraphics graphics({800, 640});
  Simulation sim;
  loadConfigurationText(sim, std::nullopt);
  Display display(graphics, sim);
  display.createDisplay();
  sim.blockTally.counts[0] = 1000;
  const auto acquiresBefore = graphics.acquireCount();
  graphics.backBuffer()->clearLog();

  display.drawEmptyGrid();
  display.drawCell(0, Brush::InfoError, ROW_INFORMATION);
  display.repaintCell(0, ROW_SYNDROME);
  display.paintDecodeStep(5);
  display.drawBlockHeader(1, 122);
  display.drawIterationLine(0);
  display.drawDistanceLine(400);
  display.drawStatisticsLines();
  display.showLoadMessage("init.txt: refused");

  EXPECT_EQ(sim.blockTally.counts[0], 0);
  EXPECT_FALSE(display.geometry().valid);
  EXPECT_EQ(graphics.acquireCount(), acquiresBefore);
  EXPECT_TRUE(graphics.backBuffer()->log().empty());

  // The first sizing makes the grid, and the message stands in it.
  display.setClientSize(800, 600);
  display.drawEmptyGrid();
  EXPECT_TRUE(display.geometry().valid);
  EXPECT_EQ(graphics.backBuffer()->count(DrawOp::Rectangle), 3000);
  ASSERT_NE(graphics.backBuffer()->textAt(40, 490), nullptr);
  EXPECT_EQ(graphics.backBuffer()->textAt(40, 490)->text, "init.txt: refused");
}

TEST(DisplayResources, UnusableLayoutsDrawNothing) {
  struct Case {
    const char* what;
    ScreenSize client;
    std::int32_t blockLength;
  } cases[] = {
      {"band too low", {800, 100}, 1000},        {"no width", {80, 600}, 1000},
      {"cell below one unit", {200, 200}, 2200}, {"no block", {800, 600}, 0},
      {"negative block", {800, 600}, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DisplayBench bench({800, 640}, c.client);
    bench.display.drawEmptyGrid();  // a valid layout first, where there can be one
    bench.sim.params.nbl = c.blockLength;
    bench.back().clearLog();
    bench.window().clearLog();
    bench.display.drawEmptyGrid();
    bench.display.drawCell(3, Brush::InfoError, ROW_INFORMATION);
    bench.display.paintDecodeStep(0);
    EXPECT_FALSE(bench.display.geometry().valid);
    EXPECT_EQ(bench.display.cellRect(3, ROW_INFORMATION), CellRect{});
    EXPECT_TRUE(bench.back().log().empty());
    EXPECT_TRUE(bench.window().log().empty());
  }
}

TEST(DisplayResources, ALaterGridUsesTheNewBlockLength) {
  DisplayBench bench({800, 640}, {800, 600});
  bench.display.drawEmptyGrid();
  bench.sim.params.nbl = 991;
  bench.display.drawEmptyGrid();
  EXPECT_EQ(bench.display.geometry().lastLineShift, 44);
  EXPECT_EQ(bench.display.cellRect(990, ROW_DIFFERENCE), (CellRect{392, 138, 400, 146}));
  EXPECT_EQ(bench.cellOn(bench.window(), 990, ROW_DIFFERENCE), (Rgb{0, 128, 128}));
}

}  // namespace
}  // namespace mtd::testing
