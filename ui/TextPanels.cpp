// The text of the picture: status lines below the rows, the statistics screen and the
// message about a rejected configuration file.
#include <array>
#include <vector>

#include "ui/BothSurfaces.h"
#include "ui/Display.h"
#include "ui/Palette.h"
#include "ui/ScreenLayout.h"
#include "ui/StatusRows.h"
#include "ui/TextLines.h"
#include "ui/TextWrap.h"

namespace mtd {

namespace {

// A status box is 400 x 30 design units from the line's corner.
constexpr int STATUS_BOX_WIDTH = 400;
constexpr int STATUS_BOX_HEIGHT = 30;
constexpr int RIGHT_COLUMN = 400;  // design x of the right status column, from leftMargin
constexpr int STATISTICS_X = 100;

}  // namespace

Display::TextBox Display::statusBox(int designX, int designY) const {
  return {scaleX(scale_, designX), scaleY(scale_, designY), scaleX(scale_, STATUS_BOX_WIDTH),
          scaleY(scale_, STATUS_BOX_HEIGHT)};
}

void Display::beginTextGroup(DrawingSurface& surface, GdiObject font, Rgb colour) {
  surface.selectObject(brush(Brush::Clearing));
  surface.selectObject(font);
  surface.setTextColor(colour);
  surface.setBkColor(BLACK);
}

void Display::statusLine(DrawingSurface& surface, int designX, int designY,
                         const std::string& text) {
  const TextBox box = statusBox(designX, designY);
  surface.patBlt(box.x, box.y, box.width, box.height);
  surface.textOut(box.x, box.y, text);
}

void Display::drawBlockHeader(std::int32_t blockNumber, std::int32_t noiseWeight) {
  if (!canDrawPanels()) return;
  const StatusRows rows = statusRows(grid_.bandHeight);
  const int left = grid_.leftMargin;  // a pixel value, scaled once more like a design x
  const std::string parameters = runParametersLine(sim_.params);
  const std::string noise = noiseLine(noiseWeight, sim_.decoder.currentDistance);
  const std::string block = blockNumberLine(blockNumber);
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    beginTextGroup(surface, smallFont_, textColour(TextColour::Green));
    statusLine(surface, left, rows.first, parameters);
    statusLine(surface, left, rows.second, noise);
    surface.selectObject(largeFont_);
    surface.setTextColor(textColour(TextColour::Cyan));
    statusLine(surface, left + RIGHT_COLUMN, rows.first, block);
  });
  // The run parameters stand where a load message stood.
  loadMessage_.reset();
  loadMessageBox_.reset();
}

void Display::drawIterationLine(std::int32_t iteration) {
  if (!canDrawPanels()) return;
  const StatusRows rows = statusRows(grid_.bandHeight);
  const int left = grid_.leftMargin + RIGHT_COLUMN;
  const std::string text = iterationLine(iteration);

  // The back buffer also loses everything right of and below the line's corner, the distance
  // line included; the box reaches past the buffer's edges and is clipped there.
  beginTextGroup(*backBuffer_, largeFont_, textColour(TextColour::Cyan));
  const TextBox box = statusBox(left, rows.second);
  backBuffer_->patBlt(box.x, box.y, box.width, box.height);
  backBuffer_->patBlt(box.x, box.y, scaleX(scale_, DESIGN_WIDTH - grid_.leftMargin),
                      scaleY(scale_, rows.third));
  backBuffer_->textOut(box.x, box.y, text);

  DrawingSurface& window = graphics_.getWindowSurface();
  beginTextGroup(window, largeFont_, textColour(TextColour::Cyan));
  statusLine(window, left, rows.second, text);
  graphics_.releaseWindowSurface(window);
}

void Display::drawDistanceLine(std::int32_t distance) {
  if (!canDrawPanels()) return;
  const StatusRows rows = statusRows(grid_.bandHeight);
  const std::string text = distanceLine(distance);
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    beginTextGroup(surface, largeFont_, textColour(TextColour::Cyan));
    statusLine(surface, grid_.leftMargin + RIGHT_COLUMN, rows.third, text);
  });
}

void Display::clearUpperArea() {
  if (!created()) return;
  const int bottom = clientHeight_ - clientHeight_ / 5;
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    surface.selectObject(brush(Brush::Clearing));
    surface.selectObject(clearingPen_);
    surface.rectangle(0, 0, clientWidth_, bottom);
  });
}

void Display::drawStatisticsLines() {
  if (!canDrawPanels()) return;
  const auto lines = statisticsLines(sim_);
  const int x = scaleX(scale_, STATISTICS_X);
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    surface.selectObject(brush(Brush::Clearing));
    surface.setBkColor(BLACK);
    const StatisticsLine* previous = nullptr;
    for (const int index : STATISTICS_DRAWING_ORDER) {
      const StatisticsLine& line = lines[index];
      if (previous == nullptr || previous->font != line.font) {
        surface.selectObject(line.font == TextFont::Small ? smallFont_ : largeFont_);
      }
      if (previous == nullptr || previous->colour != line.colour) {
        surface.setTextColor(textColour(line.colour));
      }
      surface.textOut(x, scaleY(scale_, grid_.bandHeight + line.bandOffset), line.text);
      previous = &line;
    }
  });
}

void Display::showLoadMessage(const std::string& text) {
  loadMessage_ = text;
  drawLoadMessage();
}

void Display::clearLoadMessage() {
  if (loadMessage_) eraseLoadMessage();
  loadMessage_.reset();
}

// The message stands in the left status column, at the run parameters' place and, when it is
// longer than one line, at the noise line's place too. It never reaches the right column,
// where the block number stands; what does not fit in two lines is cut.
void Display::drawLoadMessage() {
  if (!canDrawPanels() || !loadMessage_) return;
  const StatusRows rows = statusRows(grid_.bandHeight);
  const std::array<TextBox, 2> lineBoxes = {statusBox(grid_.leftMargin, rows.first),
                                            statusBox(grid_.leftMargin, rows.second)};
  backBuffer_->selectObject(smallFont_);
  const std::vector<std::string> lines =
      wrapText(*loadMessage_, lineBoxes[0].width, static_cast<int>(lineBoxes.size()),
               [this](std::string_view text) { return backBuffer_->textExtent(text).cx; });
  TextBox box = lineBoxes[0];
  if (lines.size() > 1) box.height = lineBoxes[1].y + lineBoxes[1].height - box.y;
  if (loadMessageBox_ &&
      (loadMessageBox_->x != box.x || loadMessageBox_->y != box.y ||
       loadMessageBox_->width != box.width || loadMessageBox_->height != box.height)) {
    eraseLoadMessage();  // a new layout moved it
  }
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    beginTextGroup(surface, smallFont_, LOAD_MESSAGE_COLOUR);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const TextBox& line = lineBoxes[i];
      surface.patBlt(line.x, line.y, line.width, line.height);
      surface.textOut(line.x, line.y, lines[i]);
    }
  });
  loadMessageBox_ = box;
}

void Display::eraseLoadMessage() {
  if (!created() || !loadMessageBox_) return;
  const TextBox box = *loadMessageBox_;
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    surface.selectObject(brush(Brush::Clearing));
    surface.patBlt(box.x, box.y, box.width, box.height);
  });
  loadMessageBox_.reset();
}

}  // namespace mtd
