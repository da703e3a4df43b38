#pragma once

#include <cstdint>
#include <functional>

#include "control/RunFlags.h"
#include "control/WindowSystem.h"

namespace mtd {

inline constexpr std::int32_t DELAY_AFTER_LOAD = 5'000'000;
inline constexpr std::int32_t DELAY_MIN = 10;
inline constexpr std::int32_t DELAY_MAX = 100'000'000;

// Grow: half the delay, never below DELAY_MIN.
std::int32_t grownDelay(std::int32_t delayCount);
// Low: twice the delay, never above DELAY_MAX.
std::int32_t loweredDelay(std::int32_t delayCount);

// Decrements a counter `count` times and does nothing else; the counter is volatile so that
// every decrement is really executed.
void busyWait(std::int32_t count);

// The pace of the animation and the loops that service the window's messages inside a run:
// one message per animated step, holds while paused, and the timed waits.
class Pacing {
 public:
  // reloadAndRedraw is what the decoder does when it finds a Reset pending.
  Pacing(WindowSystem& windowSystem, RunFlags& flags, std::function<void()> reloadAndRedraw);

  std::int32_t delayCount() const { return delayCount_; }
  void resetDelay() { delayCount_ = DELAY_AFTER_LOAD; }  // every configuration load
  void grow() { delayCount_ = grownDelay(delayCount_); }
  void low() { delayCount_ = loweredDelay(delayCount_); }

  void delayStep() const { busyWait(delayCount_); }
  // Services at most one queued message; never blocks.
  bool pumpOnce() { return windowSystem_.pumpOnce(); }
  // Services messages for as long as paused is set; a quit request ends the hold.
  void pumpWhilePaused();
  // Holds the run for the given time with the window's timer; Pause freezes and ends it.
  void waitTimed(int milliseconds);

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

  WindowSystem& windowSystem_;
  RunFlags& flags_;
  std::function<void()> reloadAndRedraw_;
  std::int32_t delayCount_ = 0;  // 0 until the first configuration load
};

}  // namespace mtd
