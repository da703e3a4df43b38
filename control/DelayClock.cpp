#include "control/DelayClock.h"

#include <algorithm>

namespace mtd {

void DelayClock::delay(std::int32_t delayCount) {
  if (delayCount <= 0) return;
  owedCounts_ += delayCount;
  const std::int64_t owedMicroseconds = owedCounts_ / DELAY_COUNTS_PER_MICROSECOND;
  if (owedMicroseconds <= 0) return;
  const std::int64_t start = windowSystem_.monotonicMicroseconds();
  windowSystem_.sleepMicroseconds(owedMicroseconds);
  // A clock that went wrong must not make the carry overflow: no sleep lasts an hour.
  constexpr std::int64_t LONGEST_BELIEVABLE_SLEEP = 3'600'000'000;
  const std::int64_t slept = std::clamp<std::int64_t>(windowSystem_.monotonicMicroseconds() - start,
                                                      0, LONGEST_BELIEVABLE_SLEEP);
  owedCounts_ = std::max(owedCounts_ - slept * DELAY_COUNTS_PER_MICROSECOND,
                         -MAX_CREDIT_MICROSECONDS * DELAY_COUNTS_PER_MICROSECOND);
}

}  // namespace mtd
