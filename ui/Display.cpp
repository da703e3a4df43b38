#include "ui/Display.h"

#include <algorithm>

#include "core/AnimationHooks.h"
#include "core/CodeTaps.h"
#include "ui/BothSurfaces.h"
#include "ui/ColourRules.h"
#include "ui/Palette.h"
#include "ui/ScreenLayout.h"

namespace mtd {

namespace {

constexpr std::array<const char*, 3> ROW_LABELS = {"DIFFERENCE", "INFORMATION", "SYNDROME"};

FontSpec boldArial(int height) {
  FontSpec font;
  font.height = height;
  return font;
}

}  // namespace

Display::Display(Graphics& graphics, Simulation& sim) : graphics_(graphics), sim_(sim) {}

void Display::createDisplay() {
  if (created()) return;
  scale_ = makeScreenScale(graphics_.screenSize());

  // The back buffer is made compatible with the window's surface.
  DrawingSurface& window = graphics_.getWindowSurface();
  backBuffer_ = &graphics_.createBackBuffer(scale_.screenWidth, scale_.screenHeight);
  graphics_.releaseWindowSurface(window);

  for (int role = 0; role < BRUSH_COUNT; ++role) {
    brushes_[role] = graphics_.createSolidBrush(PALETTE[role]);
  }
  cellPen_ = graphics_.createPen(BLACK);
  clearingPen_ = graphics_.createPen(BLACK);
  const FontHeights heights = fontHeights(scale_);
  smallFont_ = graphics_.createFont(boldArial(heights.small));
  largeFont_ = graphics_.createFont(boldArial(heights.large));

  backBuffer_->selectObject(brush(Brush::Clearing));
  backBuffer_->patBlt(0, 0, scale_.screenWidth, scale_.screenHeight);
  backBuffer_->setBkModeTransparent();
}

void Display::releaseResources() {
  if (!created()) return;
  for (GdiObject& object : brushes_) {
    graphics_.deleteObject(object);
    object = {};
  }
  for (GdiObject* object : {&cellPen_, &clearingPen_, &smallFont_, &largeFont_}) {
    graphics_.deleteObject(*object);
    *object = {};
  }
  graphics_.deleteBackBuffer();
  backBuffer_ = nullptr;
  grid_.valid = false;
}

void Display::setClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  clientSizeKnown_ = true;
}

void Display::paintWindow(DrawingSurface& paintSurface) {
  if (!created()) return;
  // Always the whole screen size, whatever part of the window is invalid.
  paintSurface.copyFrom(*backBuffer_, scale_.screenWidth, scale_.screenHeight);
}

void Display::drawEmptyGrid() {
  sim_.clearBlockTally();
  grid_ = GridGeometry{};
  if (!created() || !clientSizeKnown_) return;
  grid_ = layoutGrid(scale_, clientWidth_, clientHeight_, sim_.params.nbl);
  if (!grid_.valid) return;

  // Each row is finished before the next begins; K is read afresh at every step.
  for (std::int32_t position = 0; position < sim_.params.nbl; ++position) {
    drawCell(position, Brush::DifferenceEmpty, ROW_DIFFERENCE);
  }
  for (std::int32_t position = 0; position < sim_.params.nbl; ++position) {
    drawCell(position, Brush::InfoEmpty, ROW_INFORMATION);
  }
  for (std::int32_t position = 0; position < sim_.params.nbl; ++position) {
    drawCell(position, Brush::SyndromeEmpty, ROW_SYNDROME);
  }
  drawOnBothSurfaces(graphics_, *backBuffer_,
                     [this](DrawingSurface& surface) { drawLabels(surface); });
  if (loadMessage_) drawLoadMessage();
}

void Display::drawLabels(DrawingSurface& surface) {
  surface.setBkModeTransparent();
  surface.selectObject(smallFont_);
  surface.setTextColor(LABEL_COLOUR);
  for (int row = 0; row < static_cast<int>(ROW_LABELS.size()); ++row) {
    const TextExtent extent = surface.textExtent(ROW_LABELS[row]);
    surface.textOut(labelX(scale_, extent.cx), labelY(grid_, scale_, row), ROW_LABELS[row]);
  }
}

CellRect Display::cellRect(std::int32_t position, int row) const {
  return cellRectOf(grid_, scale_, position, row);
}

void Display::drawCell(std::int32_t position, Brush role, int row) {
  if (!canDrawPanels()) return;
  const CellRect rect = cellRect(position, row);
  const GdiObject fill = brush(role);
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    surface.selectObject(fill);
    surface.selectObject(cellPen_);
    surface.rectangle(rect.left, rect.top, rect.right, rect.bottom);
  });
}

void Display::repaintCell(std::int32_t position, int row) {
  drawCell(position, rowColour(sim_.rows, position, row), row);
}

void Display::paintDecodeStep(std::int32_t position) {
  const SimParams& params = sim_.params;
  const std::int32_t blockLength = params.nbl;
  const std::int32_t taps = std::clamp(params.kfp[0], 0, KFP_SIZE - 1);

  drawCell(position, differenceColour(sim_.rows, position), ROW_DIFFERENCE);
  drawCell(position, informationColour(sim_.rows, position), ROW_INFORMATION);
  // The marks go to the position decided next and to its taps' syndrome bits, before the
  // previous marks are restored, so a cell that is both ends in its true colour.
  const std::int32_t next = position + 1 == blockLength ? 0 : position + 1;
  drawCell(next, Brush::CursorMark, ROW_INFORMATION);
  drawCell(next, Brush::CursorMark, ROW_DIFFERENCE);
  for (int m = 1; m <= taps; ++m) {
    drawCell(tapPosition(position + 1, params.kfp[m], blockLength), Brush::CursorMark,
             ROW_SYNDROME);
  }
  for (int m = 1; m <= taps; ++m) {
    const std::int32_t tap = tapPosition(position, params.kfp[m], blockLength);
    drawCell(tap, syndromeColour(sim_.rows, tap), ROW_SYNDROME);
  }
}

}  // namespace mtd
