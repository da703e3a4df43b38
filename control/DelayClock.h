#pragma once

#include <cstdint>

#include "control/WindowSystem.h"

namespace mtd {

// delayCount counts the decrements of a busy-wait whose speed depended on the processor; it is
// now converted to time at one fixed rate, the busy-wait's speed on the machine whose default
// pace is kept (a 2-core AMD EPYC, Zen 5, where 5,000,000 decrements took about 1.5 ms), so
// that a block takes the same time everywhere.
inline constexpr std::int64_t DELAY_COUNTS_PER_MICROSECOND = 3300;
// Time slept beyond what was owed is paid back by the following steps, but never more than
// this much: a sleep stretched by a loaded machine must not be followed by a burst of steps.
inline constexpr std::int64_t MAX_CREDIT_MICROSECONDS = 100'000;

// The delay step as a sleep. Sleeps are coarse (a Windows tick is 15.6 ms) and short delays are
// below a microsecond, so the time owed is carried from step to step, in delay counts to keep
// the fractions, and what a sleep overran is taken off the next ones: the average pace is the
// delay converted at the rate.
class DelayClock {
 public:
  explicit DelayClock(WindowSystem& windowSystem) : windowSystem_(windowSystem) {}

  // Sleeps what this delay adds to the time owed, without servicing messages.
  void delay(std::int32_t delayCount);
  // In delay counts: positive, still to sleep; negative, slept ahead.
  std::int64_t owedCounts() const { return owedCounts_; }

 private:
  WindowSystem& windowSystem_;
  std::int64_t owedCounts_ = 0;
};

}  // namespace mtd
