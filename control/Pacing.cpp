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

void busyWait(std::int32_t count) {
  volatile std::int32_t remaining = count;
  while (remaining > 0) remaining = remaining - 1;
}

Pacing::Pacing(WindowSystem& windowSystem, RunFlags& flags, std::function<void()> reloadAndRedraw)
    : windowSystem_(windowSystem), flags_(flags), reloadAndRedraw_(std::move(reloadAndRedraw)) {}

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
  windowSystem_.setTimer(milliseconds);
  while (flags_.paused) {
    serviceWhilePaused();
    if (flags_.quitRequested) {
      windowSystem_.killTimer();
      return;  // paused stays set: the program is closing
    }
  }
  windowSystem_.killTimer();
  flags_.paused = false;
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
  pumpOnce();
  if (flags_.quitRequested) return true;
  if (flags_.resetRequested) return true;
  delayStep();
  pumpWhilePaused();
  return false;
}

bool Pacing::decodeStepCheck() {
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
