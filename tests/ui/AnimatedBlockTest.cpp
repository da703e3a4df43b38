#include <gtest/gtest.h>

#include <set>
#include <string>

#include "UiTestSupport.h"
#include "core/Passes.h"
#include "ui/ColourRules.h"

namespace mtd::testing {
namespace {

// Forwards an animated pass to the display and never stops it; remembers what the status
// lines should show.
class DisplayHooks : public AnimationHooks {
 public:
  DisplayHooks(Display& display, Simulation& sim) : display_(display), sim_(sim) {}

  void repaintCell(std::int32_t position, int row) override { display_.repaintCell(position, row); }
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {
    display_.drawBlockHeader(1, sim_.blockTally.counts[1] + sim_.blockTally.counts[2]);
  }
  void drawIterationLine(std::int32_t iteration) override {
    lastIteration = iteration;
    flipsInIteration = 0;
    display_.drawIterationLine(iteration);
  }
  void drawDistanceLine(std::int32_t distance) override {
    lastDistance = distance;
    ++flipsInIteration;
    ++flips;
    display_.drawDistanceLine(distance);
  }
  void paintDecodeStep(std::int32_t position) override {
    if (steps == 0) firstStep = position;
    lastStep = position;
    ++steps;
    display_.paintDecodeStep(position);
  }
  bool decodeStepCheck() override { return false; }

  std::int32_t lastIteration = -1;
  std::int32_t lastDistance = -1;
  int flipsInIteration = 0;
  int flips = 0;
  std::int32_t firstStep = -1;
  std::int32_t lastStep = -1;
  int steps = 0;

 private:
  Display& display_;
  Simulation& sim_;
};

Rgb ruleColour(const Simulation& sim, std::int32_t position, int row) {
  return paletteColour(rowColour(sim.rows, position, row));
}

class AnimatedFirstBlock : public ::testing::Test {
 protected:
  AnimatedFirstBlock() : bench({800, 640}, {800, 600}), hooks(bench.display, bench.sim) {
    bench.graphics.setLogLimit(0);  // a whole block is far too many calls to keep
    bench.display.drawEmptyGrid();
  }

  // Every cell of the row, on both surfaces, in the colour `expected` gives.
  template <typename Expected>
  void expectRow(int row, const Expected& expected) {
    for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
      for (std::int32_t position = 0; position < 1000; ++position) {
        const Rgb want = expected(position);
        ASSERT_EQ(bench.cellOn(*surface, position, row), want)
            << surface->name() << " row " << row << " position " << position << ": want "
            << describe(want);
      }
    }
  }

  DisplayBench bench;
  DisplayHooks hooks;
};

TEST_F(AnimatedFirstBlock, EveryCellShowsItsRowsRuleAndTheLastStepsMarks) {
  Simulation& sim = bench.sim;
  const Rgb teal{0, 128, 128}, green{0, 255, 0}, purple{128, 0, 128}, black{0, 0, 0};

  generateInfoNoise(sim, &hooks);
  ASSERT_EQ(sim.blockTally.counts[1], 66);
  expectRow(ROW_INFORMATION, [&](std::int32_t p) { return ruleColour(sim, p, ROW_INFORMATION); });
  for (std::int32_t p : {0, 22, 72, 77, 83}) {
    EXPECT_EQ(bench.cellOn(bench.window(), p, ROW_INFORMATION), (Rgb{255, 0, 0})) << p;
  }
  expectRow(ROW_DIFFERENCE, [&](std::int32_t) { return teal; });
  expectRow(ROW_SYNDROME, [&](std::int32_t) { return purple; });

  generateCheckNoise(sim, &hooks);
  ASSERT_EQ(sim.blockTally.counts[2], 56);
  expectRow(ROW_SYNDROME, [&](std::int32_t p) {
    return sim.rows.checkErrors[p] ? teal : Rgb{255, 255, 0};
  });
  EXPECT_EQ(bench.cellOn(bench.back(), 24, ROW_SYNDROME), teal);

  formSyndrome(sim, &hooks);
  ASSERT_EQ(sim.blockTally.weights[0], 416);
  expectRow(ROW_SYNDROME, [&](std::int32_t p) { return ruleColour(sim, p, ROW_SYNDROME); });
  // A syndrome one that only information errors made is red.
  ASSERT_EQ(sim.rows.syndrome[2], 1);
  ASSERT_EQ(sim.rows.checkErrors[2], 0);
  EXPECT_EQ(bench.cellOn(bench.window(), 2, ROW_SYNDROME), (Rgb{255, 0, 0}));

  sim.decoder.currentDistance = sim.blockTally.weights[0];
  decodeBlock(sim, &hooks);
  ASSERT_EQ(sim.decoder.currentDistance, 122);
  ASSERT_EQ(sim.decoder.finalInfoErrors, 0);
  EXPECT_EQ(hooks.lastIteration, 6);
  EXPECT_EQ(hooks.steps, 7000);
  EXPECT_EQ(hooks.flips, 18 + 11 + 22 + 19 + 16 + 9 + 1);
  EXPECT_EQ(hooks.firstStep, 32);
  ASSERT_EQ(hooks.lastStep, 31);

  // The last step's marks: the next position on two rows, and its taps' syndrome cells that
  // the restoring of the old marks did not repaint.
  const std::int32_t next = 32;
  const SimParams& params = sim.params;
  std::set<std::int32_t> restored, marked;
  for (int m = 1; m <= params.kfp[0]; ++m) restored.insert((31 + params.kfp[m]) % 1000);
  for (int m = 1; m <= params.kfp[0]; ++m) {
    const std::int32_t t = (32 + params.kfp[m]) % 1000;
    if (!restored.count(t)) marked.insert(t);
  }
  EXPECT_EQ(marked.size(), 22u);  // no tap offsets differ by one in the default table
  expectRow(ROW_INFORMATION, [&](std::int32_t p) {
    return p == next ? black : ruleColour(sim, p, ROW_INFORMATION);
  });
  expectRow(ROW_DIFFERENCE,
            [&](std::int32_t p) { return p == next ? black : ruleColour(sim, p, ROW_DIFFERENCE); });
  expectRow(ROW_SYNDROME, [&](std::int32_t p) {
    return marked.count(p) ? black : ruleColour(sim, p, ROW_SYNDROME);
  });
  // After decoding every information bit is right: flipped bits show white on DIFFERENCE,
  // and the syndrome keeps only the check errors (teal).
  EXPECT_EQ(bench.cellOn(bench.back(), 83, ROW_DIFFERENCE), (Rgb{255, 255, 255}));
  EXPECT_EQ(bench.cellOn(bench.back(), 83, ROW_INFORMATION), (Rgb{0, 255, 255}));
  EXPECT_EQ(bench.cellOn(bench.back(), 2, ROW_SYNDROME), (Rgb{255, 255, 0}));
  EXPECT_EQ(green, paletteColour(Brush::DifferenceError));

  // The status lines of the block.
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    SCOPED_TRACE(surface->name());
    ASSERT_NE(surface->textAt(40, 490), nullptr);
    EXPECT_EQ(surface->textAt(40, 490)->text, "RAND=7, P=0.06, CODE=1/2, K=1000, D=23");
    ASSERT_NE(surface->textAt(40, 520), nullptr);
    EXPECT_EQ(surface->textAt(40, 520)->text, "NOISE WEIGHT=122, START DISTANCE=416");
    ASSERT_NE(surface->textAt(440, 490), nullptr);
    EXPECT_EQ(surface->textAt(440, 490)->text, "BLOCK NUMBER = 1");
    ASSERT_NE(surface->textAt(440, 520), nullptr);
    EXPECT_EQ(surface->textAt(440, 520)->text, "ITERATION NUMBER=7");
    // The seventh iteration made one flip, so the buffer has the line back after its big box.
    ASSERT_EQ(hooks.flipsInIteration, 1);
    ASSERT_NE(surface->textAt(440, 550), nullptr);
    EXPECT_EQ(surface->textAt(440, 550)->text, "CURRENT DISTANCE=122");
    // The labels were never painted over.
    EXPECT_NE(surface->textAt(360, 20), nullptr);
    EXPECT_NE(surface->textAt(356, 170), nullptr);
    EXPECT_NE(surface->textAt(368, 320), nullptr);
  }
  EXPECT_EQ(bench.graphics.acquireCount(), bench.graphics.releaseCount());
  EXPECT_EQ(bench.graphics.misuseCount(), 0);
  EXPECT_EQ(bench.window().misuseCount(), 0);
  EXPECT_EQ(bench.back().misuseCount(), 0);

  // The statistics screen's own part: blank, lines, blank, empty grid.
  bench.display.clearUpperArea();
  bench.display.drawStatisticsLines();
  for (RecordingSurface* surface : {&bench.back(), &bench.window()}) {
    SCOPED_TRACE(surface->name());
    ASSERT_NE(surface->textAt(100, 220), nullptr);
    EXPECT_EQ(surface->textAt(100, 220)->text,
              "INFORMATION BLOCK LENGTH=1000, INF ERRORS=66, CHECK ERRORS=56");
    EXPECT_EQ(surface->textAt(100, 240)->text, "DECODER ERRORS=66,54,51,41,26,10,1,0,0,0,0");
    EXPECT_EQ(surface->textAt(100, 260)->text,
              "SYNDROME WEIGHT=416,298,252,200,152,106,60,56,0,0,0");
    EXPECT_EQ(surface->textAt(100, 90)->text,
              "TOTAL ERRORS IN  1000 BITS, INF ERRORS=66, CHECK ERRORS=56 ");
    EXPECT_EQ(surface->textAt(100, 330)->text, "FINAL SYNDROME WEIGHT=56");
    EXPECT_EQ(surface->textAt(100, 350)->text, "FINAL INFORMATION ERRORS=0");
    // The status lines below four fifths of the client stay.
    EXPECT_NE(surface->textAt(440, 520), nullptr);
  }
  bench.display.clearUpperArea();
  bench.display.drawEmptyGrid();
  EXPECT_EQ(sim.blockTally.counts[1], 0);
  expectRow(ROW_SYNDROME, [&](std::int32_t) { return purple; });
  EXPECT_EQ(bench.window().textAt(100, 220), nullptr);
}

TEST_F(AnimatedFirstBlock, MarksAtTheEndOfTheBlockWrapToPositionZero) {
  Simulation& sim = bench.sim;
  generateInfoNoise(sim, nullptr);
  generateCheckNoise(sim, nullptr);
  formSyndrome(sim, nullptr);
  bench.display.paintDecodeStep(999);
  EXPECT_EQ(bench.cellOn(bench.window(), 0, ROW_INFORMATION), (Rgb{0, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 0, ROW_DIFFERENCE), (Rgb{0, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 999, ROW_INFORMATION),
            ruleColour(sim, 999, ROW_INFORMATION));
  // Tap 24 of position 0 is marked; tap 24 of 999, position 23, shows its true colour.
  EXPECT_EQ(bench.cellOn(bench.window(), 24, ROW_SYNDROME), (Rgb{0, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 23, ROW_SYNDROME), ruleColour(sim, 23, ROW_SYNDROME));
}

TEST_F(AnimatedFirstBlock, ATapOfKMarksPositionKOnTheLastLine) {
  Simulation& sim = bench.sim;
  sim.params.kfp[0] = 1;
  sim.params.kfp[1] = 1000;
  bench.graphics.setLogLimit(RecordingGraphics::DEFAULT_LOG_LIMIT);
  bench.back().clearLog();
  bench.display.paintDecodeStep(999);
  // Step 6 reaches 999 + 1 + 1000 - 1000 = 1000; step 7 restores 999.
  std::vector<CellRect> syndromeCells;
  for (const RecordedCall& call : bench.back().log()) {
    if (call.op == DrawOp::Rectangle && call.top >= 350) {
      syndromeCells.push_back({call.left, call.top, call.right, call.bottom});
    }
  }
  const std::vector<CellRect> expected = {{440, 438, 448, 446}, {432, 438, 440, 446}};
  EXPECT_EQ(syndromeCells, expected);
  EXPECT_EQ(bench.cellOn(bench.back(), 1000, ROW_SYNDROME), (Rgb{0, 0, 0}));
}

TEST_F(AnimatedFirstBlock, ACellThatIsANewAndAnOldMarkEndsInItsTrueColour) {
  Simulation& sim = bench.sim;
  sim.params.kfp[0] = 2;
  sim.params.kfp[1] = 5;
  sim.params.kfp[2] = 6;
  sim.rows.syndrome[16] = 1;  // red: no check error
  bench.display.paintDecodeStep(10);
  // New marks at 16 and 17, old marks restored at 15 and 16.
  EXPECT_EQ(bench.cellOn(bench.back(), 16, ROW_SYNDROME), (Rgb{255, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 16, ROW_SYNDROME), (Rgb{255, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 17, ROW_SYNDROME), (Rgb{0, 0, 0}));
  EXPECT_EQ(bench.cellOn(bench.window(), 15, ROW_SYNDROME), (Rgb{255, 255, 0}));
}

}  // namespace
}  // namespace mtd::testing
