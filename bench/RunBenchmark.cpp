// Speed of the silent trials and of a whole default run with hooks that do nothing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "cli/ConfigurationSnapshot.h"
#include "cli/HeadlessRunHooks.h"
#include "control/RunController.h"
#include "core/Configuration.h"
#include "core/Passes.h"

namespace {

void BM_SilentTrial(benchmark::State& state) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfigurationText(*sim, std::nullopt);
  for (auto _ : state) {
    sim->clearBlockTally();
    mtd::generateInfoNoise(*sim, nullptr);
    mtd::generateCheckNoise(*sim, nullptr);
    mtd::formSyndrome(*sim, nullptr);
    mtd::decodeBlock(*sim, nullptr);
    benchmark::DoNotOptimize(sim->blockTally);
  }
  state.counters["trials/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SilentTrial);

void BM_NoisePasses(benchmark::State& state) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfigurationText(*sim, std::nullopt);
  for (auto _ : state) {
    sim->clearBlockTally();
    mtd::generateInfoNoise(*sim, nullptr);
    mtd::generateCheckNoise(*sim, nullptr);
    benchmark::DoNotOptimize(sim->blockTally);
  }
}
BENCHMARK(BM_NoisePasses);

void BM_DefaultRun(benchmark::State& state) {
  auto sim = std::make_unique<mtd::Simulation>();
  // A directory without init.txt: the defaults.
  const mtd::cli::ConfigurationSnapshot defaults(std::filesystem::path("/nonexistent-mtd-bench"));
  mtd::cli::HeadlessRunHooks hooks(*sim, defaults, nullptr);
  for (auto _ : state) {
    mtd::RunController run(*sim, hooks);
    hooks.attach(run);
    run.run();
    benchmark::DoNotOptimize(run.blockNumber());
  }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
