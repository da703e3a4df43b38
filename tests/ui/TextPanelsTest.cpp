#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "ui/ScreenLayout.h"

namespace mtd::testing {
namespace {

constexpr Rgb GREEN{0, 255, 0};
constexpr Rgb CYAN{0, 255, 255};
constexpr Rgb WHITE{255, 255, 255};
constexpr Rgb YELLOW{255, 255, 0};
constexpr Rgb BLACK_{0, 0, 0};
constexpr int SMALL_FONT = 16;  // object ids of the fonts
constexpr int LARGE_FONT = 17;

void expectText(RecordingSurface& surface, int x, int y, const std::string& text, Rgb colour,
                int font) {
  const StandingText* standing = surface.textAt(x, y);
  ASSERT_NE(standing, nullptr) << surface.name() << ": nothing at " << x << "," << y;
  EXPECT_EQ(standing->text, text) << surface.name();
  EXPECT_EQ(standing->colour, colour) << surface.name() << " " << text;
  EXPECT_EQ(standing->font.id, font) << surface.name() << " " << text;
}

int logged(const RecordingSurface& surface, DrawOp op) {
  int calls = 0;
  for (const RecordedCall& call : surface.log()) calls += call.op == op ? 1 : 0;
  return calls;
}

std::vector<CellRect> patBlts(const RecordingSurface& surface) {
  std::vector<CellRect> areas;
  for (const RecordedCall& call : surface.log()) {
    if (call.op == DrawOp::PatBlt) areas.push_back({call.left, call.top, call.right, call.bottom});
  }
  return areas;
}

class TextPanels : public ::testing::Test {
 protected:
  TextPanels() : bench({800, 640}, {800, 600}) {
    bench.display.drawEmptyGrid();
    bench.back().clearLog();
    bench.window().clearLog();
  }
  DisplayBench bench;
};

TEST_F(TextPanels, BlockHeaderStandsInTheFourthBandOnBothSurfaces) {
  bench.sim.decoder.currentDistance = 416;
  const auto acquires = bench.graphics.acquireCount();
  bench.display.drawBlockHeader(3, 122);
  EXPECT_EQ(bench.graphics.acquireCount(), acquires + 1);
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    expectText(*surface, 40, 490, "RAND=7, P=0.06, CODE=1/2, K=1000, D=23", GREEN, SMALL_FONT);
    expectText(*surface, 40, 520, "NOISE WEIGHT=122, START DISTANCE=416", GREEN, SMALL_FONT);
    expectText(*surface, 440, 490, "BLOCK NUMBER = 3", CYAN, LARGE_FONT);
    const std::vector<CellRect> boxes = {
        {40, 490, 440, 520}, {40, 520, 440, 550}, {440, 490, 840, 520}};
    EXPECT_EQ(patBlts(*surface), boxes) << surface->name();
    EXPECT_EQ(surface->state().bkColour, BLACK_);
    EXPECT_EQ(surface->state().brush.id, 13);
  }
  // The buffer writes on a transparent background, the window on black character cells.
  EXPECT_FALSE(bench.back().textAt(40, 490)->opaque);
  EXPECT_TRUE(bench.window().textAt(40, 490)->opaque);
  EXPECT_EQ(bench.window().colourAt(41, 491), BLACK_);
}

TEST_F(TextPanels, IterationLineBlanksTheRestOfTheBufferButOnlyItsBoxInTheWindow) {
  bench.display.drawDistanceLine(300);
  expectText(bench.back(), 440, 550, "CURRENT DISTANCE=300", CYAN, LARGE_FONT);
  bench.back().clearLog();
  bench.window().clearLog();

  bench.display.drawIterationLine(0);

  const std::vector<CellRect> backBoxes = {{440, 520, 840, 550}, {440, 520, 1200, 1070}};
  EXPECT_EQ(patBlts(bench.back()), backBoxes);
  const std::vector<CellRect> windowBoxes = {{440, 520, 840, 550}};
  EXPECT_EQ(patBlts(bench.window()), windowBoxes);
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    expectText(*surface, 440, 520, "ITERATION NUMBER=1", CYAN, LARGE_FONT);
  }
  // The buffer lost the distance line, the window still shows it until the next repaint.
  EXPECT_EQ(bench.back().textAt(440, 550), nullptr);
  EXPECT_EQ(bench.back().canvas()->uniformColour(440, 550, 800, 640), BLACK_);
  expectText(bench.window(), 440, 550, "CURRENT DISTANCE=300", CYAN, LARGE_FONT);
  DrawingSurface& paint = bench.graphics.beginPaint();
  bench.display.paintWindow(paint);
  bench.graphics.endPaint();
  EXPECT_EQ(bench.window().textAt(440, 550), nullptr);
  expectText(bench.window(), 440, 520, "ITERATION NUMBER=1", CYAN, LARGE_FONT);
}

TEST_F(TextPanels, DistanceLineReplacesTheLastOne) {
  bench.display.drawDistanceLine(416);
  bench.display.drawDistanceLine(413);
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    expectText(*surface, 440, 550, "CURRENT DISTANCE=413", CYAN, LARGE_FONT);
    EXPECT_EQ(patBlts(*surface).size(), 2u);
    EXPECT_EQ(patBlts(*surface).back(), (CellRect{440, 550, 840, 580}));
  }
}

TEST_F(TextPanels, ClearUpperAreaBlanksFourFifthsAndLeavesTheStatusLines) {
  bench.sim.decoder.currentDistance = 416;
  bench.display.drawBlockHeader(1, 122);
  bench.display.drawIterationLine(3);
  bench.back().clearLog();
  bench.window().clearLog();

  bench.display.clearUpperArea();

  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    SCOPED_TRACE(surface->name());
    ASSERT_EQ(surface->log().size(), 3u);
    EXPECT_EQ(surface->log()[0].object.id, 13);  // clearing brush
    EXPECT_EQ(surface->log()[1].object.id, 15);  // clearing pen
    const RecordedCall& rect = surface->log()[2];
    EXPECT_EQ((CellRect{rect.left, rect.top, rect.right, rect.bottom}), (CellRect{0, 0, 800, 480}));
    EXPECT_EQ(surface->canvas()->uniformColour(0, 0, 800, 480), BLACK_);
    EXPECT_EQ(surface->textAt(360, 20), nullptr);  // the labels went with the cells
    EXPECT_NE(surface->textAt(40, 490), nullptr);
    EXPECT_NE(surface->textAt(440, 520), nullptr);
    EXPECT_EQ(surface->colourAt(799, 479), BLACK_);  // the border
  }
  EXPECT_FALSE(bench.window().colourAt(0, 480).has_value());  // nothing below four fifths
}

TEST_F(TextPanels, StatisticsLinesStandAtTheirOffsetsInTheirDrawingOrder) {
  Simulation& sim = bench.sim;
  sim.blockTally.counts = {1000, 66, 56, 54, 51, 41, 26, 10, 1, 0, 0, 0, 0};
  sim.blockTally.weights = {416, 0, 0, 298, 252, 200, 152, 106, 60, 56, 0, 0, 0};
  sim.totalTally.counts = {3000, 190, 170, 150, 140, 120, 90, 50, 20, 5, 2, 2, 2};
  sim.decoder.finalSyndromeWeight = 56;
  sim.decoder.finalInfoErrors = 0;

  bench.display.drawStatisticsLines();

  const struct {
    int y;
    const char* text;
    Rgb colour;
    int font;
  } lines[] = {
      {50, "TOTAL STATISTIC:", YELLOW, LARGE_FONT},
      {90, "TOTAL ERRORS IN  3000 BITS, INF ERRORS=190, CHECK ERRORS=170 ", WHITE, SMALL_FONT},
      {110, "DECODER ERRORS=190,150,140,120,90,50,20,5,2,2,2", WHITE, SMALL_FONT},
      {130, "FINAL INFORMATION ERRORS=2", WHITE, SMALL_FONT},
      {180, "BLOCK STATISTIC:", YELLOW, LARGE_FONT},
      {220, "INFORMATION BLOCK LENGTH=1000, INF ERRORS=66, CHECK ERRORS=56", WHITE, SMALL_FONT},
      {240, "DECODER ERRORS=66,54,51,41,26,10,1,0,0,0,0", WHITE, SMALL_FONT},
      {260, "SYNDROME WEIGHT=416,298,252,200,152,106,60,56,0,0,0", WHITE, SMALL_FONT},
      {310, "START SYNDROME WEIGHT=416", GREEN, SMALL_FONT},
      {330, "FINAL SYNDROME WEIGHT=56", GREEN, SMALL_FONT},
      {350, "FINAL INFORMATION ERRORS=0", GREEN, SMALL_FONT},
  };
  const std::vector<int> drawingOrder = {220, 240, 260, 90, 110, 130, 310, 330, 350, 50, 180};
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    for (const auto& line : lines)
      expectText(*surface, 100, line.y, line.text, line.colour, line.font);
    std::vector<int> order;
    for (const RecordedCall& call : surface->log()) {
      if (call.op == DrawOp::TextOut) order.push_back(call.top);
    }
    EXPECT_EQ(order, drawingOrder) << surface->name();
    EXPECT_TRUE(patBlts(*surface).empty());  // the area is already black
    EXPECT_EQ(surface->state().bkColour, BLACK_);
  }
}

TEST(TextPanelPositions, At1024x768TheLeftMarginIsScaledOnceMore) {
  DisplayBench bench({1024, 768}, {1016, 700});
  bench.display.drawEmptyGrid();
  bench.display.drawBlockHeader(1, 0);
  bench.display.drawDistanceLine(9);
  // x = trunc(63 x 1.28) = 80 and trunc(463 x 1.28) = 592; y = trunc(475 x 1.2) = 570 ...
  EXPECT_NE(bench.window().textAt(80, 570), nullptr);
  EXPECT_NE(bench.window().textAt(80, 606), nullptr);
  EXPECT_NE(bench.window().textAt(592, 570), nullptr);
  expectText(bench.back(), 592, 642, "CURRENT DISTANCE=9", CYAN, LARGE_FONT);
  bench.display.drawStatisticsLines();
  // x = trunc(100 x 1.2799999713) = 127; y from b - 100 = 45 and b + 200 = 345 units.
  EXPECT_NE(bench.back().textAt(127, 54), nullptr);
  EXPECT_NE(bench.back().textAt(127, 414), nullptr);
}

TEST_F(TextPanels, LoadMessageStandsUntilClearedAndComesBackWithTheGrid) {
  const std::string message = "init.txt: nbl=5000 is above 2200";
  bench.display.showLoadMessage(message);
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    expectText(*surface, 40, 490, message, YELLOW, SMALL_FONT);
    EXPECT_EQ(patBlts(*surface), (std::vector<CellRect>{{40, 490, 440, 520}}));
  }
  EXPECT_TRUE(bench.display.loadMessageStanding());

  bench.window().clearLog();
  bench.display.drawEmptyGrid();
  expectText(bench.window(), 40, 490, message, YELLOW, SMALL_FONT);
  EXPECT_EQ(logged(bench.window(), DrawOp::TextOut), 4);  // three labels and the message

  bench.display.clearLoadMessage();
  EXPECT_FALSE(bench.display.loadMessageStanding());
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    EXPECT_EQ(surface->textAt(40, 490), nullptr);
    EXPECT_EQ(surface->canvas()->uniformColour(40, 490, 440, 520), BLACK_);
  }
  // Gone for good: the next grid does not bring it back, a second clear paints nothing.
  bench.window().clearLog();
  bench.display.drawEmptyGrid();
  bench.display.clearLoadMessage();
  EXPECT_EQ(logged(bench.window(), DrawOp::PatBlt), 0);
  EXPECT_EQ(bench.window().textAt(40, 490), nullptr);
}

TEST_F(TextPanels, LoadMessageGoesUnderTheBlockHeader) {
  bench.display.showLoadMessage("init.txt: refused");
  bench.display.drawBlockHeader(1, 122);
  EXPECT_FALSE(bench.display.loadMessageStanding());
  bench.window().clearLog();
  bench.display.clearLoadMessage();  // nothing left to clear: the header stays
  EXPECT_EQ(logged(bench.window(), DrawOp::PatBlt), 0);
  EXPECT_NE(bench.window().textAt(40, 490), nullptr);
  EXPECT_NE(bench.window().textAt(40, 490)->text.find("RAND="), std::string::npos);
}

TEST_F(TextPanels, ALongLoadMessageTakesTwoLinesAndIsClearedWhole) {
  // 8-pixel characters: 50 fit in the 400-pixel column.
  const std::string message = "init.txt: " + std::string(30, 'x') + " " + std::string(45, 'y');
  bench.display.showLoadMessage(message);
  EXPECT_EQ(patBlts(bench.back()),
            (std::vector<CellRect>{{40, 490, 440, 520}, {40, 520, 440, 550}}));
  expectText(bench.window(), 40, 490, "init.txt: " + std::string(30, 'x'), YELLOW, SMALL_FONT);
  expectText(bench.window(), 40, 520, std::string(45, 'y'), YELLOW, SMALL_FONT);
  bench.display.clearLoadMessage();
  EXPECT_EQ(bench.window().canvas()->uniformColour(40, 490, 440, 550), BLACK_);
  EXPECT_EQ(bench.window().textAt(40, 520), nullptr);
}

// Messages of refused files, the longest the loader writes among them.
std::vector<std::string> refusalMessages() {
  const std::string kfp =
      "kfp={24,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,"
      "789,796,814,824,856,899,";
  const std::vector<std::string> files = {
      "nbl=-2147483648\nkst=7\np=0.06\nndn=11 w\n" + kfp +
          "2147483647}\nktrh={10,2,1}\nmaxBlock=9\nddn=24\ncheck\n",
      "nbl=1000\nkst=7\np=0.06\nndn=11 w\n" + kfp +
          "-2147483648}\nktrh={10,2,1}\nmaxBlock=9\nddn=24\ncheck\n",
      "nbl=1000\nkst=7\np=0.06\nndn=11 w\n" + kfp + "0}\nktrh={11}\nddn=24\ncheck\n",
  };
  std::vector<std::string> messages;
  for (const std::string& file : files) {
    Simulation sim;
    messages.push_back(loadConfigurationText(sim, file).rejection);
    EXPECT_FALSE(messages.back().empty()) << file;
  }
  messages.push_back("init.txt: " + std::string(300, '/'));
  return messages;
}

TEST(LoadMessage, StaysInTheLeftColumnAndLeavesTheBlockNumberStanding) {
  const std::vector<std::string> messages = refusalMessages();
  for (const auto& [screen, client] : {std::pair<ScreenSize, ScreenSize>{{800, 640}, {800, 600}},
                                       {{1024, 768}, {1016, 700}},
                                       {{1920, 1080}, {1920, 1030}}}) {
    for (const std::string& message : messages) {
      SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height) + ": " +
                   message);
      DisplayBench bench(screen, client);
      bench.display.drawEmptyGrid();
      bench.display.drawBlockHeader(1, 0);
      const GridGeometry& grid = bench.display.geometry();
      const int leftColumn = scaleX(bench.display.scale(), grid.leftMargin);
      const int rightColumn = scaleX(bench.display.scale(), grid.leftMargin + 400);
      const int firstLine = scaleY(bench.display.scale(), 3 * grid.bandHeight + 40);
      const int secondLine = scaleY(bench.display.scale(), 3 * grid.bandHeight + 70);
      bench.back().clearLog();
      bench.window().clearLog();
      // A Run reloads while the last block's header stands; a Reset redraws the grid too.
      bench.display.showLoadMessage(message);
      bench.display.drawEmptyGrid();
      for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
        const StandingText* block = surface->findText("BLOCK NUMBER = 1");
        ASSERT_NE(block, nullptr) << surface->name();
        EXPECT_EQ(block->x, rightColumn);
        for (const RecordedCall& call : surface->log()) {
          if (call.op != DrawOp::PatBlt && call.op != DrawOp::TextOut) continue;
          if (call.top < firstLine) continue;  // the grid and its labels
          EXPECT_LE(call.right, rightColumn) << surface->name() << " " << call.text;
        }
        // All of it, or two full lines the second of which says it goes on.
        const StandingText* first = surface->textAt(leftColumn, firstLine);
        const StandingText* second = surface->textAt(leftColumn, secondLine);
        ASSERT_NE(first, nullptr);
        const std::string shown = first->text + (second ? " " + second->text : "");
        if (shown != message) {
          ASSERT_NE(second, nullptr) << shown;
          EXPECT_EQ(second->text.substr(second->text.size() - 3), "...") << shown;
        }
      }
    }
  }
}

}  // namespace
}  // namespace mtd::testing
