#include "control/Pacing.h"

#include <utility>

namespace mtd {

std::int32_t grownDelay(std::int32_t delayCount) {
  const std::int32_t halved = delayCount / 2;  // truncates toward zero
  return halved < DELAY_MIN ? DELAY_MIN : halved;
}

std::int32_t loweredDelay(std::int32_t delayCount) {
  // Formed in 64 bits: doubling a value near the cap must not overflow before the cap applies.
  const std::int64_t doubled = std::int64_t{delayCount} * 2;
  return doubled > DELAY_MAX ? DELAY_MAX : static_cast<std::int32_t>(doubled);
}

Pacing::Pacing(WindowSystem& windowSystem, RunFlags& flags, std::function<void()> reloadAndRedraw)
    : windowSystem_(windowSystem),
      flags_(flags),
      reloadAndRedraw_(std::move(reloadAndRedraw)),
      delayClock_(windowSystem),
      indicators_(windowSystem) {}

void Pacing::resetDelay() {
  delayCount_ = DELAY_AFTER_LOAD;
  showRunState();
}

void Pacing::grow() {
  delayCount_ = grownDelay(delayCount_);
  showRunState();
}

void Pacing::low() {
  delayCount_ = loweredDelay(delayCount_);
  showRunState();
}

void Pacing::showRunState() {
  indicators_.show({flags_.running, flags_.paused, timerRunning_ && flags_.paused, delayCount_});
}

bool Pacing::stopTimer() {
  timerRunning_ = false;
  const bool stopped = windowSystem_.killTimer();
  showRunState();
  return stopped;
}

void Pacing::step() {
  if (!flags_.running || !flags_.paused) return;
  stopTimer();
  flags_.paused = false;
  flags_.stepGranted = true;
  showRunState();
}

void Pacing::holdIfStepUsed() {
  if (!flags_.stepGranted) return;
  flags_.stepGranted = false;
  flags_.paused = true;
  showRunState();
}

void Pacing::serviceWhilePaused() {
  windowSystem_.waitMessage();
  windowSystem_.pumpOnce();
}

void Pacing::pumpWhilePaused() {
  while (flags_.paused) {
    serviceWhilePaused();
    if (flags_.quitRequested) return;
  }
}

void Pacing::waitTimed(int milliseconds) {
  flags_.paused = true;
  if (flags_.stepGranted) {
    flags_.stepGranted = false;  // stepping: the wait is the step's hold, frozen
  } else {
    windowSystem_.setTimer(milliseconds);
    timerRunning_ = true;
  }
  showRunState();
  while (flags_.paused) {
    serviceWhilePaused();
    if (flags_.quitRequested) {
      stopTimer();
      return;  // paused stays set: the program is closing
    }
  }
  stopTimer();
  flags_.paused = false;
  showRunState();
}

void Pacing::serviceQueuedMessages() {
  // A window system that keeps making messages must not hold the run here for ever.
  constexpr int MAX_MESSAGES = 1000;
  for (int taken = 0; taken < MAX_MESSAGES && !stopRequested(); ++taken) {
    if (!pumpOnce()) break;
  }
  if (!stopRequested()) pumpWhilePaused();
}

bool Pacing::stepCheck() {
  holdIfStepUsed();
  pumpOnce();
  if (flags_.quitRequested) return true;
  if (flags_.resetRequested) return true;
  delayStep();
  pumpWhilePaused();
  return false;
}

bool Pacing::decodeStepCheck() {
  holdIfStepUsed();
  pumpWhilePaused();
  if (flags_.resetRequested) {
    reloadAndRedraw_();
    return true;
  }
  pumpOnce();
  if (flags_.quitRequested) return true;
  delayStep();
  return false;
}

}  // namespace mtd
