#include "ui/ColourLegend.h"

#include "ui/Palette.h"

namespace mtd {

namespace {

constexpr int MARGIN = 14;
constexpr int LINE_HEIGHT = 24;
constexpr int TITLE_GAP = 6;  // above each group's title but the first
constexpr int SAMPLE_INDENT = 24;
constexpr int SAMPLE_WIDTH = 40;
constexpr int SAMPLE_HEIGHT = 18;
constexpr int TEXT_GAP = 12;
constexpr int WIDTH = 600;
constexpr int TITLE_FONT_HEIGHT = 18;
constexpr int TEXT_FONT_HEIGHT = 16;

constexpr std::array<LegendEntry, 3> DIFFERENCE_ENTRIES = {{
    {Brush::DifferenceZero, "a bit the decoder left alone"},
    {Brush::DifferenceCorrect, "a bit the decoder changed, right now"},
    {Brush::DifferenceError, "a bit the decoder changed, wrong now"},
}};
constexpr std::array<LegendEntry, 2> INFORMATION_ENTRIES = {{
    {Brush::InfoError, "an information bit in error"},
    {Brush::InfoCorrect, "a right information bit"},
}};
constexpr std::array<LegendEntry, 3> SYNDROME_ENTRIES = {{
    {Brush::SyndromeZero, "a satisfied check"},
    {Brush::SyndromeCheckError, "unsatisfied; noise hit its own check bit"},
    {Brush::SyndromeOne, "unsatisfied; its check bit is clean"},
}};
constexpr std::array<LegendEntry, 1> MARK_ENTRIES = {{
    {Brush::CursorMark, "the position the decoder takes next, and its checks"},
}};
constexpr std::array<LegendEntry, 3> EMPTY_ENTRIES = {{
    {Brush::DifferenceEmpty, "DIFFERENCE row"},
    {Brush::InfoEmpty, "INFORMATION row"},
    {Brush::SyndromeEmpty, "SYNDROME row"},
}};

constexpr std::array<LegendGroup, 5> GROUPS = {{
    {"DIFFERENCE", DIFFERENCE_ENTRIES},
    {"INFORMATION", INFORMATION_ENTRIES},
    {"SYNDROME", SYNDROME_ENTRIES},
    {"DECODER'S MARKS", MARK_ENTRIES},
    {"EMPTY GRID, BEFORE A BLOCK", EMPTY_ENTRIES},
}};

// The top of each group's title line; the samples follow one line each.
template <typename Visit>
int walkLayout(Visit visit) {
  int y = MARGIN;
  for (std::size_t g = 0; g < GROUPS.size(); ++g) {
    if (g > 0) y += TITLE_GAP;
    visit(GROUPS[g], nullptr, y);
    y += LINE_HEIGHT;
    for (const LegendEntry& entry : GROUPS[g].entries) {
      visit(GROUPS[g], &entry, y);
      y += LINE_HEIGHT;
    }
  }
  return y + MARGIN;
}

LegendSample sampleAt(const LegendEntry& entry, int lineTop) {
  const int top = lineTop + (LINE_HEIGHT - SAMPLE_HEIGHT) / 2;
  const int left = MARGIN + SAMPLE_INDENT;
  return {entry.brush,
          left,
          top,
          left + SAMPLE_WIDTH,
          top + SAMPLE_HEIGHT,
          left + SAMPLE_WIDTH + TEXT_GAP,
          lineTop + (LINE_HEIGHT - TEXT_FONT_HEIGHT) / 2,
          entry.meaning};
}

}  // namespace

std::span<const LegendGroup> colourLegendGroups() { return GROUPS; }

ScreenSize colourLegendSize() {
  return {WIDTH, walkLayout([](const LegendGroup&, const LegendEntry*, int) {})};
}

std::vector<LegendSample> colourLegendSamples() {
  std::vector<LegendSample> samples;
  walkLayout([&samples](const LegendGroup&, const LegendEntry* entry, int y) {
    if (entry) samples.push_back(sampleAt(*entry, y));
  });
  return samples;
}

ColourLegend::ColourLegend(Graphics& graphics)
    : graphics_(graphics),
      background_(graphics.createSolidBrush(BLACK)),
      // Grey, so that the black mark's sample shows on the black ground.
      outline_(graphics.createPen(Rgb{128, 128, 128})),
      titleFont_(graphics.createFont(FontSpec{TITLE_FONT_HEIGHT})),
      textFont_(graphics.createFont(FontSpec{TEXT_FONT_HEIGHT})) {
  for (int b = 0; b < BRUSH_COUNT; ++b) brushes_[b] = graphics.createSolidBrush(PALETTE[b]);
}

ColourLegend::~ColourLegend() {
  for (GdiObject brush : brushes_) graphics_.deleteObject(brush);
  graphics_.deleteObject(textFont_);
  graphics_.deleteObject(titleFont_);
  graphics_.deleteObject(outline_);
  graphics_.deleteObject(background_);
}

void ColourLegend::draw(DrawingSurface& surface) const {
  const ScreenSize size = colourLegendSize();
  surface.selectObject(background_);
  surface.patBlt(0, 0, size.width, size.height);
  surface.setBkModeTransparent();
  surface.selectObject(outline_);
  walkLayout([&](const LegendGroup& group, const LegendEntry* entry, int y) {
    if (!entry) {
      surface.selectObject(titleFont_);
      surface.setTextColor(LABEL_COLOUR);
      surface.textOut(MARGIN, y + (LINE_HEIGHT - TITLE_FONT_HEIGHT) / 2, group.title);
      return;
    }
    const LegendSample sample = sampleAt(*entry, y);
    surface.selectObject(brushes_[static_cast<int>(sample.brush)]);
    surface.rectangle(sample.left, sample.top, sample.right, sample.bottom);
    surface.selectObject(textFont_);
    surface.setTextColor(textColour(TextColour::White));
    surface.textOut(sample.textX, sample.textY, sample.meaning);
  });
}

}  // namespace mtd
