#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/Simulation.h"
#include "ui/Brush.h"
#include "ui/CellRect.h"
#include "ui/DrawingSurface.h"
#include "ui/GridGeometry.h"
#include "ui/ScreenScale.h"

namespace mtd {

// The picture: screen scale, back buffer, drawing objects, cell grid and text panels. Every
// drawing goes to the back buffer first, then to the window's surface.
class Display {
 public:
  Display(Graphics& graphics, Simulation& sim);

  void createDisplay();     // at window creation
  void releaseResources();  // at window destruction: brushes, pens, fonts, back buffer
  void setClientSize(int width, int height);  // the first size notification
  void paintWindow(DrawingSurface& paintSurface);

  void drawEmptyGrid();  // also clears the block tally
  CellRect cellRect(std::int32_t position, int row) const;
  void drawCell(std::int32_t position, Brush brush, int row);
  void repaintCell(std::int32_t position, int row);  // in the colour its row's rule gives now
  void paintDecodeStep(std::int32_t position);

  void drawBlockHeader(std::int32_t blockNumber, std::int32_t noiseWeight);
  void drawIterationLine(std::int32_t iteration);
  void drawDistanceLine(std::int32_t distance);
  void clearUpperArea();
  void drawStatisticsLines();  // both surfaces, in the statistics screen's drawing order

  // "TRIAL=n OF maxBlock" in the status area while a run shows no block for a while.
  void drawTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock);
  void eraseTrialProgress();

  // A rejected init.txt: its message in the text panel until drawn over or cleared.
  void showLoadMessage(const std::string& text);
  void clearLoadMessage();

  const ScreenScale& scale() const { return scale_; }
  const GridGeometry& geometry() const { return grid_; }
  bool created() const { return backBuffer_ != nullptr; }
  bool loadMessageStanding() const { return loadMessage_.has_value(); }

 private:
  // Implementation details are the display's own.
  struct TextBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  bool canDrawPanels() const { return backBuffer_ != nullptr && grid_.valid; }
  GdiObject brush(Brush role) const { return brushes_[static_cast<int>(role)]; }
  void drawLabels(DrawingSurface& surface);
  void beginTextGroup(DrawingSurface& surface, GdiObject font, Rgb colour);
  // Fills the status box of a design position black and writes the text at its corner.
  void statusLine(DrawingSurface& surface, int designX, int designY, const std::string& text);
  TextBox statusBox(int designX, int designY) const;
  void drawLoadMessage();
  void eraseLoadMessage();

  Graphics& graphics_;
  Simulation& sim_;
  ScreenScale scale_;
  GridGeometry grid_;
  DrawingSurface* backBuffer_ = nullptr;
  std::array<GdiObject, BRUSH_COUNT> brushes_{};
  GdiObject cellPen_;
  GdiObject clearingPen_;
  GdiObject smallFont_;
  GdiObject largeFont_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool clientSizeKnown_ = false;
  std::optional<std::string> loadMessage_;   // standing until drawn over or cleared
  std::optional<TextBox> loadMessageBox_;    // where it was last drawn
  std::optional<TextBox> trialProgressBox_;  // where the trial progress stands, if it does
};

}  // namespace mtd
