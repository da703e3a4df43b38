// The colour legend: every colour the cell rules can give a row is explained in that row's
// group, and each sample is drawn in the program's own palette colour.
#include <gtest/gtest.h>

#include <set>

#include "core/AnimationHooks.h"
#include "tests/support/RecordingGraphics.h"
#include "ui/ColourLegend.h"
#include "ui/ColourRules.h"
#include "ui/Palette.h"

namespace mtd {
namespace {

std::set<Brush> groupBrushes(std::string_view title) {
  std::set<Brush> brushes;
  for (const LegendGroup& group : colourLegendGroups()) {
    if (group.title != title) continue;
    for (const LegendEntry& entry : group.entries) brushes.insert(entry.brush);
  }
  return brushes;
}

// Every brush the row's rule gives for any combination of the four bits at a position.
std::set<Brush> ruleBrushes(int row) {
  std::set<Brush> brushes;
  for (int bits = 0; bits < 16; ++bits) {
    BlockState rows;
    rows.infoErrors[0] = bits & 1;
    rows.syndrome[0] = (bits >> 1) & 1;
    rows.difference[0] = (bits >> 2) & 1;
    rows.checkErrors[0] = (bits >> 3) & 1;
    brushes.insert(rowColour(rows, 0, row));
  }
  return brushes;
}

TEST(ColourLegend, EachRowGroupExplainsExactlyTheColoursItsRuleGives) {
  EXPECT_EQ(groupBrushes("DIFFERENCE"), ruleBrushes(ROW_DIFFERENCE));
  EXPECT_EQ(groupBrushes("INFORMATION"), ruleBrushes(ROW_INFORMATION));
  EXPECT_EQ(groupBrushes("SYNDROME"), ruleBrushes(ROW_SYNDROME));
  EXPECT_EQ(groupBrushes("DECODER'S MARKS"), std::set<Brush>{Brush::CursorMark});
}

TEST(ColourLegend, SamplesAreDrawnInThePaletteColoursWithTheirWords) {
  const ScreenSize size = colourLegendSize();
  RecordingGraphics graphics(size);
  {
    const ColourLegend legend(graphics);
    DrawingSurface& surface = graphics.getWindowSurface();
    legend.draw(surface);
    graphics.releaseWindowSurface(surface);
  }
  RecordingSurface& window = graphics.windowSurface();
  const auto samples = colourLegendSamples();
  ASSERT_EQ(samples.size(), 12u);
  for (const LegendSample& sample : samples) {
    ASSERT_LE(sample.bottom, size.height);
    const auto colour = window.cellColour(sample.left, sample.top, sample.right, sample.bottom);
    ASSERT_TRUE(colour.has_value());
    EXPECT_EQ(*colour, paletteColour(sample.brush)) << sample.meaning;
    const StandingText* words = window.findText(std::string(sample.meaning));
    ASSERT_NE(words, nullptr) << sample.meaning;
    // The words stand beside their sample, in white, inside the window.
    EXPECT_EQ(words->x, sample.textX);
    EXPECT_GE(words->x, sample.right);
    EXPECT_EQ(words->colour, (Rgb{255, 255, 255}));
    EXPECT_LE(words->x + words->width, size.width) << sample.meaning;
  }
  // Between the samples the ground is black.
  EXPECT_EQ(window.colourAt(2, 2), BLACK);
  EXPECT_EQ(window.misuseCount(), 0);
  EXPECT_EQ(graphics.misuseCount(), 0);
  EXPECT_EQ(graphics.liveObjectCount(), 0) << "the legend deletes what it made";
}

}  // namespace
}  // namespace mtd
