// The animation's delay step: the busy-wait it used to be, whose speed on this machine fixed
// DELAY_COUNTS_PER_MICROSECOND, and the slept delay that replaced it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "control/DelayClock.h"
#include "control/Pacing.h"

namespace {

// The former delay step: delayCount decrements of a volatile counter.
void formerBusyWait(std::int32_t count) {
  volatile std::int32_t remaining = count;
  while (remaining > 0) remaining = remaining - 1;
}

void BM_FormerBusyWaitAtTheLoadedPace(benchmark::State& state) {
  // Its CPU time is its own speed; the real time grows with whatever else the machine runs.
  for (auto _ : state) formerBusyWait(mtd::DELAY_AFTER_LOAD);
  state.counters["us at the rate in use"] =
      static_cast<double>(mtd::DELAY_AFTER_LOAD) / mtd::DELAY_COUNTS_PER_MICROSECOND;
}
BENCHMARK(BM_FormerBusyWaitAtTheLoadedPace)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the loaded pace's delay now takes: a sleep of the converted time. The gap between this
// and 1515 us is the sleep's own overrun, which the delay clock takes off the next steps.
void BM_SleptDelayAtTheLoadedPace(benchmark::State& state) {
  const auto delay =
      std::chrono::microseconds(mtd::DELAY_AFTER_LOAD / mtd::DELAY_COUNTS_PER_MICROSECOND);
  for (auto _ : state) std::this_thread::sleep_for(delay);
}
BENCHMARK(BM_SleptDelayAtTheLoadedPace)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
