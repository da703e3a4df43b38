#include "cli/record/RecordWindowSystem.h"

#include "control/Menu.h"

namespace mtd::cli::record {

void RecordWindowSystem::runOnce() {
  window_->onCreate();
  window_->onSize(client_.width, client_.height);
  window_->onCommand(CMD_RUN);
  window_->onClose();
}

bool RecordWindowSystem::pumpOnce() {
  if (observer_->finished()) {
    if (quitSent_) return false;
    quitSent_ = true;
    window_->onCommand(CMD_QUIT);
    return true;
  }
  if (timer_) {
    if (clock_ < timer_->due) return false;
    window_->onTimer();
    return true;
  }
  observer_->animatedStep();
  followObserver();
  // The busy-wait between steps only paces a window; Grow brings it to its least at once.
  if (pacing_->delayCount() > DELAY_MIN) {
    window_->onCommand(CMD_GROW);
    return true;
  }
  return false;
}

void RecordWindowSystem::waitMessage() {
  if (!timer_ || observer_->finished()) return;
  if (!timer_->reported) {
    timer_->reported = true;
    observer_->timedWait(timer_->milliseconds);
    followObserver();
  }
  if (clock_ < timer_->due) clock_ = timer_->due;
}

void RecordWindowSystem::setTimer(int milliseconds) {
  timer_ = Timer{milliseconds, clock_ + milliseconds, false};
}

bool RecordWindowSystem::killTimer() {
  const bool running = timer_.has_value();
  timer_.reset();
  return running;
}

}  // namespace mtd::cli::record
