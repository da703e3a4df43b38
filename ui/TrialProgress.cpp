// How far a run has come while it shows no block: one line in the status area, in the left
// column below the noise line, where nothing else stands.
#include "ui/BothSurfaces.h"
#include "ui/Display.h"
#include "ui/Palette.h"
#include "ui/ScreenLayout.h"
#include "ui/StatusRows.h"
#include "ui/TextLines.h"

namespace mtd {

void Display::drawTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock) {
  if (!canDrawPanels()) return;
  const TextBox box = statusBox(grid_.leftMargin, statusRows(grid_.bandHeight).third);
  const std::string text = trialProgressLine(trialsDone, maxBlock);
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    beginTextGroup(surface, smallFont_, textColour(TextColour::Green));
    surface.patBlt(box.x, box.y, box.width, box.height);
    surface.textOut(box.x, box.y, text);
  });
  trialProgressBox_ = box;
}

void Display::eraseTrialProgress() {
  if (!created() || !trialProgressBox_) return;
  const TextBox box = *trialProgressBox_;
  drawOnBothSurfaces(graphics_, *backBuffer_, [&](DrawingSurface& surface) {
    surface.selectObject(brush(Brush::Clearing));
    surface.patBlt(box.x, box.y, box.width, box.height);
  });
  trialProgressBox_.reset();
}

}  // namespace mtd
