#pragma once

#include <cstdint>
#include <functional>

#include "control/DelayClock.h"
#include "control/RunFlags.h"
#include "control/RunIndicators.h"
#include "control/WindowSystem.h"

namespace mtd {

inline constexpr std::int32_t DELAY_AFTER_LOAD = 5'000'000;
inline constexpr std::int32_t DELAY_MIN = 10;
inline constexpr std::int32_t DELAY_MAX = 100'000'000;

// Grow: half the delay, never below DELAY_MIN.
std::int32_t grownDelay(std::int32_t delayCount);
// Low: twice the delay, never above DELAY_MAX.
std::int32_t loweredDelay(std::int32_t delayCount);

// The pace of the animation and the loops that service the window's messages inside a run:
// one message per animated step, holds while paused or after a Step, and the timed waits. It
// also keeps the caption and the Step item in line with the state it changes.
class Pacing {
 public:
  // reloadAndRedraw is what the decoder does when it finds a Reset pending.
  Pacing(WindowSystem& windowSystem, RunFlags& flags, std::function<void()> reloadAndRedraw);

  std::int32_t delayCount() const { return delayCount_; }
  void resetDelay();  // every configuration load
  void grow();
  void low();

  // Sleeps delayCount converted to time; no message is serviced meanwhile.
  void delayStep() { delayClock_.delay(delayCount_); }
  // Services at most one queued message; never blocks.
  bool pumpOnce() { return windowSystem_.pumpOnce(); }
  // Services messages for as long as paused is set; a quit request ends the hold.
  void pumpWhilePaused();
  // Holds the run for the given time with the window's timer; Pause freezes and ends it. When
  // it comes after a Step, it starts frozen: the next Step ends it.
  void waitTimed(int milliseconds);
  // Stops a timed wait's timer: whether one was running.
  bool stopTimer();
  // Step, while held or waiting: lets the run go on for one animated step (or out of the
  // timed wait) and hold again.
  void step();
  // Shows the run's state (caption, Step item) as the flags and the pace now are.
  void showRunState();

  // Between silent trials: services what is queued, up to a stop request, then holds while
  // paused.
  void serviceQueuedMessages();

  // After each cell of the noise and syndrome passes. True stops the pass.
  bool stepCheck();
  // After each position step of the decoder; it holds first and services afterwards, so a
  // Pause or Reset it services acts one step later. True stops the decoding.
  bool decodeStepCheck();

 private:
  // The holds sleep until a message is queued instead of spinning on an empty queue.
  void serviceWhilePaused();
  bool stopRequested() const { return flags_.quitRequested || flags_.resetRequested; }
  // After an animated step: a Step granted for it has been used, so the run holds again.
  void holdIfStepUsed();

  WindowSystem& windowSystem_;
  RunFlags& flags_;
  std::function<void()> reloadAndRedraw_;
  std::int32_t delayCount_ = 0;  // 0 until the first configuration load
  DelayClock delayClock_;
  RunIndicators indicators_;
  bool timerRunning_ = false;
};

}  // namespace mtd
