// Speed of the error-rate engine: decoded information bits per second at p = 0.05 with the
// default code and sound noise, noise generation included.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <optional>

#include "core/Configuration.h"
#include "sweep/BatchRunner.h"
#include "sweep/NoiseBatch.h"
#include "sweep/PointRunner.h"
#include "sweep/SoundNoise.h"

namespace {

using namespace mtd::sweep;

PointSetup defaultPoint(double p) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfigurationText(*sim, std::nullopt);
  return PointSetup{SweepCode(sim->params), NoiseKind::Sound, p, 1, 0};
}

void reportRates(benchmark::State& state, std::int64_t frames, std::int64_t infoBits) {
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["Mbit/s"] =
      benchmark::Counter(static_cast<double>(infoBits) * 1e-6, benchmark::Counter::kIsRate);
}

// One thread, batch after batch: the rate per core (CPU time).
void BM_SweepOneThread(benchmark::State& state) {
  const PointSetup setup = defaultPoint(0.05);
  const LanePath path = static_cast<LanePath>(state.range(0));
  if (!lanePathSupported(path)) {
    state.SkipWithError("lane path not supported here");
    return;
  }
  Workspace workspace(path);
  std::int64_t batch = 0;
  BatchTally total;
  for (auto _ : state) {
    total += runBatch(setup, batch++, INT64_MAX, workspace);
  }
  benchmark::DoNotOptimize(total);
  state.SetLabel(lanePathName(path));
  reportRates(state, total.frames, total.infoBits);
}
BENCHMARK(BM_SweepOneThread)
    ->Arg(static_cast<int>(LanePath::Portable))
    ->Arg(static_cast<int>(LanePath::Avx2))
    ->Unit(benchmark::kMillisecond);

// Whole points through the thread pool: wall time, as the user waits for it.
void BM_SweepPoint(benchmark::State& state) {
  const PointSetup setup = defaultPoint(0.05);
  const StopRule rule{200 * BATCH_FRAMES, 0, std::nullopt};
  const std::atomic<bool> cancel{false};
  BatchTally total;
  for (auto _ : state) {
    total += runPoint(setup, rule, static_cast<int>(state.range(0)), cancel).total;
  }
  reportRates(state, total.frames, total.infoBits);
}
BENCHMARK(BM_SweepPoint)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// Sound noise alone, 256 frames at a time.
void BM_SoundNoise(benchmark::State& state) {
  const PointSetup setup = defaultPoint(0.05);
  Workspace workspace;
  const std::unique_ptr<std::uint64_t[]> words(new std::uint64_t[2 * 1000 * 4]);
  std::int64_t group = 0;
  for (auto _ : state) {
    drawNoiseGroups(setup, group, 4, INT64_MAX, workspace, words.get());
    group += 4;
    benchmark::DoNotOptimize(words[0]);
  }
  reportRates(state, group * GROUP_FRAMES, group * GROUP_FRAMES * 1000);
}
BENCHMARK(BM_SoundNoise)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
