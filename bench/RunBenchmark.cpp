// Speed of the silent trials and of a whole default run with hooks that do nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "control/NullRunHooks.h"
#include "control/RunController.h"
#include "core/Configuration.h"
#include "core/Passes.h"

namespace {

// The run controller's own silent trial: noise, syndrome and decoding without hooks.
void BM_SilentTrial(benchmark::State& state) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::NullRunHooks hooks(*sim);  // no init.txt: the defaults
  mtd::RunController run(*sim, hooks);
  hooks.loadConfiguration();
  for (auto _ : state) {
    run.runSilentTrial();
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
  mtd::NullRunHooks hooks(*sim);  // no init.txt: the defaults
  for (auto _ : state) {
    mtd::RunController run(*sim, hooks);
    run.run();
    benchmark::DoNotOptimize(run.blockNumber());
  }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
