// Speed of the silent trials and of a whole default run with hooks that do nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "control/RunController.h"
#include "core/Configuration.h"
#include "core/Passes.h"

namespace {

class NullHooks final : public mtd::RunHooks {
 public:
  explicit NullHooks(mtd::Simulation& sim) : sim_(sim) {}
  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}
  void drawIterationLine(std::int32_t) override {}
  void drawDistanceLine(std::int32_t) override {}
  void paintDecodeStep(std::int32_t) override {}
  bool decodeStepCheck() override { return false; }
  void loadConfiguration() override { mtd::loadConfigurationText(sim_, std::nullopt); }
  void setRunning(bool) override {}
  bool quitRequested() const override { return false; }
  bool resetRequested() const override { return false; }
  void delayStep() override {}
  void grayResetItem() override {}
  void waitTimed(int) override {}
  void showStatistics() override {}
  void drawEmptyGrid() override { sim_.clearBlockTally(); }
  void enableRunItem() override {}

 private:
  mtd::Simulation& sim_;
};

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
  NullHooks hooks(*sim);
  for (auto _ : state) {
    mtd::RunController run(*sim, hooks);
    run.run();
    benchmark::DoNotOptimize(run.blockNumber());
  }
}
BENCHMARK(BM_DefaultRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
