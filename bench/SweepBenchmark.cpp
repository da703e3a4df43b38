// Speed of the error-rate engine on every lane path of this processor: decoded information bits
// per second with the default code, at p = 0.03, 0.05 and 0.07, with and without drawing the
// noise. Rates per core come from CPU time; whole points through the thread pool from wall time.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
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

PointSetup defaultPoint(int permille, LanePath path, LaneRefill refill = LaneRefill::PathDefault) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfigurationText(*sim, std::nullopt);
  return PointSetup{
      SweepCode(sim->params), NoiseKind::Sound, permille / 1000.0, 1, 0, path, refill};
}

void reportRates(benchmark::State& state, std::int64_t frames, std::int64_t infoBits) {
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["Gbit/s"] =
      benchmark::Counter(static_cast<double>(infoBits) * 1e-9, benchmark::Counter::kIsRate);
}

// Noise and decoding, batch after batch on one thread: the rate per core.
void withNoise(benchmark::State& state, LanePath path, int permille, LaneRefill refill) {
  const PointSetup setup = defaultPoint(permille, path, refill);
  Workspace workspace;
  std::int64_t batch = 0;
  BatchTally total;
  for (auto _ : state) total += runBatch(setup, batch++, INT64_MAX, workspace);
  benchmark::DoNotOptimize(total);
  reportRates(state, total.frames, total.infoBits);
}

// Decoding alone: a batch's drawn noise decoded again and again, restored untimed before each
// (the decoder forms syndromes in the rows it is given).
void decodingOnly(benchmark::State& state, LanePath path, int permille, LaneRefill refill) {
  const PointSetup setup = defaultPoint(permille, path);
  const LanePathEntry& entry = lanePath(path);
  const int groups = static_cast<int>(BATCH_FRAMES / GROUP_FRAMES);
  const int wordGroups = entry.lanes / static_cast<int>(GROUP_FRAMES);
  const std::int32_t nbl = setup.code.nbl();
  const std::size_t words = 2 * std::size_t(nbl) * groups;
  Workspace workspace;
  std::vector<std::uint64_t> drawn(words);
  drawNoiseGroups(setup, 0, groups, INT64_MAX, workspace, drawn.data());
  struct alignas(64) Row {
    std::uint64_t w[8];
  };
  static_assert(sizeof(Row) / sizeof(std::uint64_t) * GROUP_FRAMES >= 512);
  std::vector<Row> noise(words / 8), rows(2 * std::size_t(nbl)), difference(nbl);
  const RunPlan plan(setup.code);
  BatchTally total;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(noise.front().w, drawn.data(), words * sizeof(std::uint64_t));
    state.ResumeTiming();
    if (refill == LaneRefill::Always) {
      RefillJob job;
      job.code = &setup.code;
      job.plan = &plan;
      job.noise = noise.front().w;
      job.groups = groups;
      job.rows = rows.front().w;
      job.difference = difference.front().w;
      job.frames = static_cast<int>(BATCH_FRAMES);
      total += entry.decodeRefill(job);
      continue;
    }
    // Chunk by chunk, each copied out of the drawn batch as the engine does.
    for (int chunk = 0; chunk < groups; chunk += wordGroups) {
      for (std::size_t r = 0; r < 2 * std::size_t(nbl); ++r) {
        std::memcpy(rows.front().w + r * wordGroups, noise.front().w + r * groups + chunk,
                    wordGroups * sizeof(std::uint64_t));
      }
      BitSliceJob job;
      job.code = &setup.code;
      job.plan = &plan;
      job.rows = rows.front().w;
      job.difference = difference.front().w;
      job.validLanes = entry.lanes;
      total += entry.decode(job);
    }
  }
  benchmark::DoNotOptimize(total);
  reportRates(state, total.frames, total.infoBits);
  state.counters["sweeps/frame"] =
      static_cast<double>(total.iterations) / static_cast<double>(total.frames);
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

// One benchmark per lane path of the table, p and way of filling lanes (refill: lanes take
// fresh frames as theirs stop; chunks: a chunk runs until its slowest frame stops). Paths this
// processor lacks are not listed.
void registerPaths() {
  const std::pair<LaneRefill, const char*> ways[] = {{LaneRefill::Always, "refill"},
                                                     {LaneRefill::Never, "chunks"}};
  for (const LanePathEntry& entry : lanePaths()) {
    if (!lanePathSupported(entry.path)) continue;
    for (int permille : PERMILLE) {
      for (const auto& [refill, way] : ways) {
        const std::string suffix =
            std::string(entry.name) + "/p0.0" + std::to_string(permille / 10) + "/" + way;
        benchmark::RegisterBenchmark(("BM_WithNoise/" + suffix).c_str(), withNoise, entry.path,
                                     permille, refill)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_DecodingOnly/" + suffix).c_str(), decodingOnly,
                                     entry.path, permille, refill)
            ->Unit(benchmark::kMicrosecond);
      }
      const std::string suffix = std::string(entry.name) + "/p0.0" + std::to_string(permille / 10);
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
