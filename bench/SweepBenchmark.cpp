// Speed of the error-rate engine on every lane path of this processor: decoded information bits
// per second with the default code, at p = 0.03, 0.05 and 0.07, with and without drawing the
// noise. Rates per core come from CPU time; whole points through the thread pool from wall time.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "core/Configuration.h"
#include "sweep/BatchRunner.h"
#include "sweep/BitSliceJob.h"
#include "sweep/LanePaths.h"
#include "sweep/NoiseBatch.h"
#include "sweep/PointRunner.h"
#include "sweep/RunPlan.h"
#include "sweep/Workspace.h"

namespace {

using namespace mtd::sweep;

constexpr int PERMILLE[] = {30, 50, 70};

PointSetup defaultPoint(int permille, LanePath path) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfigurationText(*sim, std::nullopt);
  return PointSetup{SweepCode(sim->params), NoiseKind::Sound, permille / 1000.0, 1, 0, path};
}

void reportRates(benchmark::State& state, std::int64_t frames, std::int64_t infoBits) {
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["Gbit/s"] =
      benchmark::Counter(static_cast<double>(infoBits) * 1e-9, benchmark::Counter::kIsRate);
}

// Noise and decoding, batch after batch on one thread: the rate per core.
void withNoise(benchmark::State& state, LanePath path, int permille) {
  const PointSetup setup = defaultPoint(permille, path);
  Workspace workspace;
  std::int64_t batch = 0;
  BatchTally total;
  for (auto _ : state) total += runBatch(setup, batch++, INT64_MAX, workspace);
  benchmark::DoNotOptimize(total);
  reportRates(state, total.frames, total.infoBits);
}

// Decoding alone: the same drawn chunks decoded again and again (the rows are restored from a
// copy before each, which costs a few per cent).
void decodingOnly(benchmark::State& state, LanePath path, int permille) {
  const PointSetup setup = defaultPoint(permille, path);
  const LanePathEntry& entry = lanePath(path);
  const int groups = entry.lanes / static_cast<int>(GROUP_FRAMES);
  const std::int32_t nbl = setup.code.nbl();
  const std::size_t words = 2 * std::size_t(nbl) * groups;
  constexpr int CHUNKS = 8;
  Workspace workspace;
  std::vector<std::vector<std::uint64_t>> drawn(CHUNKS, std::vector<std::uint64_t>(words));
  for (int c = 0; c < CHUNKS; ++c) {
    drawNoiseGroups(setup, std::int64_t{c} * groups, groups, INT64_MAX, workspace, drawn[c].data());
  }
  struct alignas(64) Row {
    std::uint64_t w[8];
  };
  static_assert(sizeof(Row) / sizeof(std::uint64_t) * GROUP_FRAMES >= 512);
  std::vector<Row> rows(2 * std::size_t(nbl)), difference(nbl);
  const RunPlan plan(setup.code);
  BitSliceJob job;
  job.code = &setup.code;
  job.plan = &plan;
  job.rows = rows.front().w;
  job.difference = difference.front().w;
  job.validLanes = entry.lanes;
  BatchTally total;
  int c = 0;
  for (auto _ : state) {
    std::memcpy(job.rows, drawn[c].data(), words * sizeof(std::uint64_t));
    total += entry.decode(job);
    c = (c + 1) % CHUNKS;
  }
  benchmark::DoNotOptimize(total);
  reportRates(state, total.frames, total.infoBits);
}

// The sound noise alone.
void noiseOnly(benchmark::State& state, LanePath path, int permille) {
  const PointSetup setup = defaultPoint(permille, path);
  const int groups = lanePath(path).noiseGroups;
  Workspace workspace;
  std::vector<std::uint64_t> words(2 * std::size_t(setup.code.nbl()) * groups);
  std::int64_t group = 0;
  for (auto _ : state) {
    drawNoiseGroups(setup, group, groups, INT64_MAX, workspace, words.data());
    group += groups;
    benchmark::DoNotOptimize(words.data());
  }
  reportRates(state, group * GROUP_FRAMES, group * GROUP_FRAMES * setup.code.nbl());
}

// Whole points through the thread pool: wall time, as the user waits, and the process's CPU
// time, whose ratio to the wall time shows how many cores the threads kept busy.
void sweepPoint(benchmark::State& state, LanePath path, int permille, int threads) {
  const PointSetup setup = defaultPoint(permille, path);
  const StopRule rule{400 * BATCH_FRAMES, 0, std::nullopt};
  const std::atomic<bool> cancel{false};
  BatchTally total;
  for (auto _ : state) total += runPoint(setup, rule, threads, cancel).total;
  reportRates(state, total.frames, total.infoBits);
}

// One benchmark per lane path of the table and p; paths this processor lacks are not listed.
void registerPaths() {
  for (const LanePathEntry& entry : lanePaths()) {
    if (!lanePathSupported(entry.path)) continue;
    for (int permille : PERMILLE) {
      const std::string suffix = std::string(entry.name) + "/p0.0" + std::to_string(permille / 10);
      benchmark::RegisterBenchmark(("BM_WithNoise/" + suffix).c_str(), withNoise, entry.path,
                                   permille)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("BM_DecodingOnly/" + suffix).c_str(), decodingOnly, entry.path,
                                   permille)
          ->Unit(benchmark::kMicrosecond);
      for (const int threads : {1, 2}) {
        benchmark::RegisterBenchmark(
            ("BM_SweepPoint/" + suffix + "/threads:" + std::to_string(threads)).c_str(), sweepPoint,
            entry.path, permille, threads)
            ->UseRealTime()
            ->MeasureProcessCPUTime()
            ->Unit(benchmark::kMillisecond);
      }
    }
    benchmark::RegisterBenchmark((std::string("BM_NoiseOnly/") + entry.name).c_str(), noiseOnly,
                                 entry.path, 50)
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  registerPaths();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
