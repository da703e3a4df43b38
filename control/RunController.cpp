#include "control/RunController.h"

#include "core/Passes.h"

namespace mtd {

namespace {
constexpr int WAIT_AFTER_DECODING_MS = 5000;
}

void RunController::runSilentTrial() {
  sim_.clearBlockTally();
  saved_ = sim_.generator.saveState();
  generateInfoNoise(sim_, nullptr);
  generateCheckNoise(sim_, nullptr);
  formSyndrome(sim_, nullptr);
  decodeBlock(sim_, nullptr);
}

bool RunController::replay() {
  sim_.generator.restoreState(saved_);
  sim_.clearBlockTally();
  ++blockNumber_;
  // The passes animate unless a Reset is pending; every servicing is followed by a test, so
  // in practice they always animate.
  auto pass = [this](void (*passFunction)(Simulation&, AnimationHooks*)) {
    passFunction(sim_, hooks_.resetRequested() ? nullptr : &hooks_);
    return !stopRequested();
  };
  if (!pass(generateInfoNoise)) return false;
  hooks_.delayStep();
  if (!pass(generateCheckNoise)) return false;
  hooks_.delayStep();
  if (!pass(formSyndrome)) return false;
  hooks_.delayStep();
  const ErrorTally& tally = sim_.blockTally;
  sim_.decoder.currentDistance = tally.weights[SLOT_START_WEIGHT];
  noiseWeight_ = tally.counts[SLOT_INFO_ERRORS] + tally.counts[SLOT_CHECK_ERRORS];
  if (stopRequested()) return false;
  decodeBlock(sim_, &hooks_);
  if (stopRequested()) return false;
  hooks_.grayResetItem();
  if (stopRequested()) return false;
  hooks_.waitTimed(WAIT_AFTER_DECODING_MS);
  if (stopRequested()) return false;
  hooks_.showStatistics();
  if (stopRequested()) return false;
  hooks_.drawEmptyGrid();
  return !hooks_.resetRequested();
}

bool RunController::betweenSilentTrials() {
  const std::int64_t now = hooks_.clockMilliseconds();
  if (!stretch_.serviceDue(now)) return true;
  if (stretch_.progressDue(now)) {
    hooks_.showTrialProgress(trialsPerformed_, sim_.params.maxBlock);
    progressShown_ = true;
  }
  // Nothing serviced here touches the simulation, except a Reset, which ends the run: the
  // trials and the blocks shown stay those of a run without interruptions.
  hooks_.serviceMessages();
  stretch_.serviced(hooks_.clockMilliseconds());
  return !stopRequested();
}

void RunController::endSilentStretch() {
  if (!progressShown_) return;
  hooks_.eraseTrialProgress();
  progressShown_ = false;
}

void RunController::run() {
  hooks_.loadConfiguration();
  blockNumber_ = 0;
  hooks_.setRunning(true);
  trial_ = 0;
  trialsPerformed_ = 0;
  blocksShown_ = 0;
  beginSilentStretch();
  if (sim_.params.maxBlock > 0) {
    do {
      runSilentTrial();
      ++trialsPerformed_;
      if (hooks_.showEveryBlock() ||
          selectBlock(sim_.params, sim_.blockTally, sim_.decoder.lastIteration) ==
              SelectionVerdict::Shown) {
        endSilentStretch();
        ++blocksShown_;
        if (!replay()) return;
        beginSilentStretch();
      } else if (!betweenSilentTrials()) {
        endSilentStretch();
        return;
      }
      ++trial_;
    } while (trial_ < sim_.params.maxBlock);
  }
  endSilentStretch();
  if (blocksShown_ == 0) hooks_.reportNoBlockShown(trialsPerformed_);
  hooks_.enableRunItem();
  hooks_.setRunning(false);
}

}  // namespace mtd
