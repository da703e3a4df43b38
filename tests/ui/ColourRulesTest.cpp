#include <gtest/gtest.h>

#include "core/AnimationHooks.h"
#include "ui/ColourRules.h"
#include "ui/Palette.h"

namespace mtd {
namespace {

TEST(ColourRules, InformationShowsWhetherTheBitIsWrongNow) {
  BlockState rows;
  rows.infoErrors[3] = 1;
  rows.difference[3] = 1;  // the difference bit plays no part
  EXPECT_EQ(informationColour(rows, 3), Brush::InfoError);
  EXPECT_EQ(informationColour(rows, 4), Brush::InfoCorrect);
  EXPECT_EQ(paletteColour(Brush::InfoError), (Rgb{255, 0, 0}));
  EXPECT_EQ(paletteColour(Brush::InfoCorrect), (Rgb{0, 255, 255}));
}

TEST(ColourRules, SyndromeLooksOnlyAtSyndromeAndCheckErrors) {
  BlockState rows;
  // syndrome 0: yellow whatever the check bit
  rows.checkErrors[1] = 1;
  EXPECT_EQ(syndromeColour(rows, 0), Brush::SyndromeZero);
  EXPECT_EQ(syndromeColour(rows, 1), Brush::SyndromeZero);
  // syndrome 1 with a check error: teal, whatever the information errors
  rows.syndrome[2] = 1;
  rows.checkErrors[2] = 1;
  rows.infoErrors[2] = 1;
  EXPECT_EQ(syndromeColour(rows, 2), Brush::SyndromeCheckError);
  // syndrome 1 from information errors alone: red
  rows.syndrome[5] = 1;
  EXPECT_EQ(syndromeColour(rows, 5), Brush::SyndromeOne);
  EXPECT_EQ(paletteColour(Brush::SyndromeZero), (Rgb{255, 255, 0}));
  EXPECT_EQ(paletteColour(Brush::SyndromeCheckError), (Rgb{0, 128, 128}));
  EXPECT_EQ(paletteColour(Brush::SyndromeOne), (Rgb{255, 0, 0}));
}

TEST(ColourRules, DifferenceShowsWhatTheDecoderChanged) {
  BlockState rows;
  rows.infoErrors[0] = 1;  // untouched and wrong: still teal
  EXPECT_EQ(differenceColour(rows, 0), Brush::DifferenceZero);
  rows.difference[1] = 1;  // flipped and now right
  EXPECT_EQ(differenceColour(rows, 1), Brush::DifferenceCorrect);
  rows.difference[2] = 1;  // flipped and now wrong
  rows.infoErrors[2] = 1;
  EXPECT_EQ(differenceColour(rows, 2), Brush::DifferenceError);
  EXPECT_EQ(paletteColour(Brush::DifferenceZero), (Rgb{0, 128, 128}));
  EXPECT_EQ(paletteColour(Brush::DifferenceCorrect), (Rgb{255, 255, 255}));
  EXPECT_EQ(paletteColour(Brush::DifferenceError), (Rgb{0, 255, 0}));
}

TEST(ColourRules, RowRuleAndPositionsOutsideTheRows) {
  BlockState rows;
  rows.infoErrors[7] = 1;
  rows.syndrome[7] = 1;
  EXPECT_EQ(rowColour(rows, 7, ROW_INFORMATION), Brush::InfoError);
  EXPECT_EQ(rowColour(rows, 7, ROW_SYNDROME), Brush::SyndromeOne);
  EXPECT_EQ(rowColour(rows, 7, ROW_DIFFERENCE), Brush::DifferenceZero);
  // Nothing is read outside the rows: such positions show zero bits.
  EXPECT_EQ(informationColour(rows, -1), Brush::InfoCorrect);
  EXPECT_EQ(syndromeColour(rows, 1'000'000), Brush::SyndromeZero);
  EXPECT_EQ(differenceColour(rows, BLOCK_CAPACITY + 64), Brush::DifferenceZero);
}

TEST(Palette, BrushesInCreationOrderWithTheirColorrefs) {
  const std::uint32_t expected[BRUSH_COUNT] = {
      0x0000FF00, 0x00FFFF00, 0x000000FF, 0x00800080, 0x0000FFFF, 0x00808000, 0x000000FF,
      0x00808000, 0x00808000, 0x00FFFFFF, 0x0000FF00, 0x00000000, 0x00000000};
  for (int i = 0; i < BRUSH_COUNT; ++i) EXPECT_EQ(PALETTE[i].colorref(), expected[i]) << i;
}

}  // namespace
}  // namespace mtd
