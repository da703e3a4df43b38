#include "control/ProgramHooks.h"

#include <utility>

#include "control/Menu.h"
#include "control/NoBlockShown.h"
#include "control/RunController.h"

namespace mtd {

namespace {
constexpr int STATISTICS_SCREEN_MS = 5000;
}

ProgramHooks::ProgramHooks(Simulation& sim, Display& display, Pacing& pacing, RunFlags& flags,
                           WindowSystem& windowSystem, std::filesystem::path configDirectory)
    : sim_(sim),
      display_(display),
      pacing_(pacing),
      flags_(flags),
      windowSystem_(windowSystem),
      configDirectory_(std::move(configDirectory)) {}

LoadResult ProgramHooks::load() {
  LoadResult result = mtd::loadConfiguration(sim_, configDirectory_);
  pacing_.resetDelay();
  return result;
}

void ProgramHooks::showLoadOutcome(const LoadResult& result) {
  // A refused file and one that could not be read are both worth a word; a missing or
  // unmarked file gives the defaults silently.
  const std::string& message = result.rejection.empty() ? result.unreadable : result.rejection;
  if (message.empty()) {
    display_.clearLoadMessage();
  } else {
    display_.showLoadMessage(message);
  }
}

void ProgramHooks::reloadAndRedraw() {
  const LoadResult result = load();
  display_.drawEmptyGrid();
  showLoadOutcome(result);
}

void ProgramHooks::loadConfiguration() {
  // A run loads without redrawing: the grid of the previous load is on screen.
  showLoadOutcome(load());
}

void ProgramHooks::repaintCell(std::int32_t position, int row) {
  display_.repaintCell(position, row);
}

void ProgramHooks::drawBlockHeader() {
  display_.drawBlockHeader(run_ != nullptr ? run_->blockNumber() : 0,
                           run_ != nullptr ? run_->noiseWeight() : 0);
}

void ProgramHooks::drawIterationLine(std::int32_t iteration) {
  display_.drawIterationLine(iteration);
}

void ProgramHooks::drawDistanceLine(std::int32_t distance) { display_.drawDistanceLine(distance); }

void ProgramHooks::paintDecodeStep(std::int32_t position) { display_.paintDecodeStep(position); }

void ProgramHooks::setMenuItem(int commandId, bool enabled) {
  windowSystem_.setMenuItemEnabled(commandId, enabled);
  windowSystem_.drawMenuBar();
}

void ProgramHooks::grayResetItem() { setMenuItem(CMD_RESET, false); }

void ProgramHooks::showStatistics() {
  grayResetItem();
  display_.clearUpperArea();
  display_.drawStatisticsLines();
  pacing_.waitTimed(STATISTICS_SCREEN_MS);
  // However the wait ended, a quit included, the screen is cleared and Reset comes back.
  display_.clearUpperArea();
  display_.drawEmptyGrid();
  setMenuItem(CMD_RESET, true);
}

void ProgramHooks::setRunning(bool running) {
  flags_.running = running;
  pacing_.showRunState();
}

void ProgramHooks::reportNoBlockShown(std::int32_t trialsDone) {
  display_.showLoadMessage(noBlockShownMessage(trialsDone));
}

void ProgramHooks::enableRunItem() {
  setMenuItem(CMD_RUN, true);
  setMenuItem(CMD_SETTINGS, true);
}

}  // namespace mtd
