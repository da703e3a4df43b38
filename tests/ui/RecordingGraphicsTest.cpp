#include <gtest/gtest.h>

#include <vector>

#include "tests/support/RecordingGraphics.h"

namespace mtd {
namespace {

constexpr Rgb RED{255, 0, 0};
constexpr Rgb BLUE{0, 0, 255};
constexpr Rgb BLACK{0, 0, 0};

struct Screen {
  Screen() : graphics({100, 80}) {
    back = &graphics.createBackBuffer(100, 80);
    red = graphics.createSolidBrush(RED);
    blue = graphics.createSolidBrush(BLUE);
    pen = graphics.createPen(BLACK);
    font = graphics.createFont(FontSpec{10});
  }
  RecordingGraphics graphics;
  DrawingSurface* back = nullptr;
  RecordingSurface& backBuffer() { return *graphics.backBuffer(); }
  GdiObject red, blue, pen, font;
};

TEST(RecordingSurface, RectangleFillsInsideWithTheBrushAndOutlinesWithThePen) {
  Screen s;
  s.back->selectObject(s.red);
  s.back->selectObject(s.pen);
  s.back->rectangle(10, 20, 15, 26);
  RecordingSurface& b = s.backBuffer();
  EXPECT_EQ(b.cellColour(10, 20, 15, 26), RED);
  EXPECT_EQ(b.colourAt(11, 21), RED);
  EXPECT_EQ(b.colourAt(10, 20), BLACK);
  EXPECT_EQ(b.colourAt(14, 25), BLACK);          // right - 1, bottom - 1: the border
  EXPECT_FALSE(b.colourAt(15, 25).has_value());  // right is outside
  EXPECT_FALSE(b.colourAt(0, 0).has_value());
  // A neighbour sharing the edge coordinate leaves two black pixels between the insides.
  s.back->selectObject(s.blue);
  s.back->rectangle(15, 20, 20, 26);
  EXPECT_EQ(b.colourAt(14, 22), BLACK);
  EXPECT_EQ(b.colourAt(15, 22), BLACK);
  EXPECT_EQ(b.colourAt(16, 22), BLUE);
  EXPECT_EQ(b.cellColour(10, 20, 20, 26), std::nullopt);  // mixed
}

TEST(RecordingSurface, PatBltFillsWithoutBorderAndClipsToTheSurface) {
  Screen s;
  s.back->selectObject(s.blue);
  s.back->patBlt(90, 70, 50, 50);
  RecordingSurface& b = s.backBuffer();
  EXPECT_EQ(b.canvas()->uniformColour(90, 70, 100, 80), BLUE);
  EXPECT_FALSE(b.colourAt(89, 70).has_value());
  const RecordedCall& call = b.log().back();
  EXPECT_EQ(call.op, DrawOp::PatBlt);
  EXPECT_EQ(call.right, 140);  // the log keeps the asked area
  EXPECT_EQ(call.state.brush, s.blue);
  s.back->patBlt(10, 10, -5, -5);  // extends left and up
  EXPECT_EQ(b.canvas()->uniformColour(5, 5, 10, 10), BLUE);
}

TEST(RecordingSurface, TextsMeasureHalfTheirHeightPerCharacterAndStandUntilPaintedOver) {
  Screen s;
  RecordingSurface& b = s.backBuffer();
  EXPECT_EQ(s.back->textExtent("ABC").cx, 3 * 8);  // no font selected: 16 high
  s.back->selectObject(s.font);
  const TextExtent extent = s.back->textExtent("ABCDE");
  EXPECT_EQ(extent.cx, 25);
  EXPECT_EQ(extent.cy, 10);

  s.back->setTextColor(RED);
  s.back->setBkModeTransparent();
  s.back->textOut(10, 10, "ABCDE");
  ASSERT_NE(b.textAt(10, 10), nullptr);
  EXPECT_EQ(b.textAt(10, 10)->colour, RED);
  EXPECT_EQ(b.textAt(10, 10)->width, 25);
  EXPECT_FALSE(b.colourAt(12, 12).has_value());  // transparent: no background

  // Another text at the same corner replaces it; a fill touching it removes it.
  s.back->textOut(10, 10, "XY");
  EXPECT_EQ(b.textAt(10, 10)->text, "XY");
  EXPECT_EQ(b.canvas()->texts().size(), 1u);
  s.back->textOut(50, 50, "far");
  s.back->selectObject(s.blue);
  s.back->patBlt(19, 19, 5, 5);  // touches the last pixel of "XY"'s box (10..19)
  EXPECT_EQ(b.textAt(10, 10), nullptr);
  EXPECT_NE(b.findText("far"), nullptr);
}

TEST(RecordingSurface, WindowSurfaceStartsInDefaultStateAndOpaqueTextFillsItsCells) {
  Screen s;
  DrawingSurface& window = s.graphics.getWindowSurface();
  window.selectObject(s.font);
  window.setBkColor(BLACK);
  window.setTextColor(RED);
  window.textOut(0, 0, "AB");
  EXPECT_TRUE(s.graphics.windowSurface().textAt(0, 0)->opaque);
  EXPECT_EQ(s.graphics.windowSurface().canvas()->uniformColour(0, 0, 10, 10), BLACK);
  s.graphics.releaseWindowSurface(window);

  DrawingSurface& again = s.graphics.getWindowSurface();
  const SurfaceState& state = s.graphics.windowSurface().state();
  EXPECT_EQ(state.font, GdiObject{});
  EXPECT_FALSE(state.transparent);
  EXPECT_EQ(state.bkColour, (Rgb{255, 255, 255}));
  // The pixels persist between acquisitions; default brush white, default pen black.
  again.rectangle(20, 20, 25, 25);
  EXPECT_EQ(s.graphics.windowSurface().colourAt(22, 22), (Rgb{255, 255, 255}));
  EXPECT_EQ(s.graphics.windowSurface().textAt(0, 0)->text, "AB");
  s.graphics.releaseWindowSurface(again);
  EXPECT_EQ(s.graphics.acquireCount(), 2);
  EXPECT_EQ(s.graphics.releaseCount(), 2);
  EXPECT_EQ(s.graphics.misuseCount(), 0);
}

TEST(RecordingGraphics, CountsMisuse) {
  Screen s;
  DrawingSurface& window = s.graphics.getWindowSurface();
  s.graphics.releaseWindowSurface(window);
  window.patBlt(0, 0, 5, 5);  // drawing on a released surface
  EXPECT_EQ(s.graphics.windowSurface().misuseCount(), 1);
  EXPECT_FALSE(s.graphics.windowSurface().colourAt(1, 1).has_value());
  s.graphics.releaseWindowSurface(window);  // twice
  s.graphics.deleteObject(s.red);
  s.graphics.deleteObject(s.red);  // twice
  s.graphics.deleteObject(GdiObject{99});
  EXPECT_EQ(s.graphics.misuseCount(), 3);
  s.back->selectObject(s.red);  // deleted
  EXPECT_EQ(s.backBuffer().misuseCount(), 1);
  s.graphics.deleteBackBuffer();
  s.back->patBlt(0, 0, 1, 1);
  EXPECT_EQ(s.backBuffer().misuseCount(), 2);
  EXPECT_EQ(s.graphics.deletionOrder(), (std::vector<GdiObject>{s.red}));
  EXPECT_EQ(s.graphics.liveObjectCount(), 3);
}

TEST(RecordingGraphics, LogLimitCanvasSwitchAndObserver) {
  Screen s;
  s.graphics.setLogLimit(4);
  for (int i = 0; i < 10; ++i) s.back->patBlt(i, 0, 1, 1);
  RecordingSurface& b = s.backBuffer();
  ASSERT_EQ(b.log().size(), 4u);
  EXPECT_EQ(b.log().front().left, 6);  // the latest calls are kept
  EXPECT_EQ(b.count(DrawOp::PatBlt), 10);
  EXPECT_EQ(b.callCount(), 10);

  std::vector<int> seen;
  b.setObserver([&](const RecordedCall& call) {
    if (call.op == DrawOp::Rectangle) seen.push_back(call.left);
  });
  s.graphics.setLogLimit(0);
  s.graphics.setCanvasEnabled(false);
  s.back->rectangle(30, 30, 40, 40);
  EXPECT_TRUE(b.log().empty());
  EXPECT_EQ(b.canvas(), nullptr);
  EXPECT_EQ(b.colourAt(35, 35), std::nullopt);
  EXPECT_EQ(seen, (std::vector<int>{30}));
  s.graphics.setCanvasEnabled(true);  // a fresh, unpainted canvas
  EXPECT_FALSE(b.colourAt(0, 0).has_value());
}

TEST(RecordingGraphics, PaintCopiesPixelsAndTextsClippedToTheWindow) {
  RecordingGraphics graphics({100, 80}, ScreenSize{60, 50});
  DrawingSurface& back = graphics.createBackBuffer(100, 80);
  const GdiObject red = graphics.createSolidBrush(RED);
  back.selectObject(red);
  back.patBlt(0, 0, 100, 80);
  back.setBkModeTransparent();
  back.textOut(5, 5, "kept");
  DrawingSurface& paint = graphics.beginPaint();
  paint.copyFrom(back, 100, 80);
  graphics.endPaint();
  RecordingSurface& window = graphics.windowSurface();
  EXPECT_EQ(window.canvas()->uniformColour(0, 0, 60, 50), RED);
  EXPECT_EQ(window.width(), 60);
  EXPECT_NE(window.textAt(5, 5), nullptr);
  EXPECT_EQ(graphics.paintCount(), 1);
  EXPECT_EQ(graphics.misuseCount(), 0);
  EXPECT_FALSE(graphics.windowSurfaceAcquired());
}

}  // namespace
}  // namespace mtd
