#include <cstdio>
#include <filesystem>
#include <memory>

#include "control/RunController.h"
#include "core/Configuration.h"
#include "ui/TextLines.h"

namespace {

class TranscriptHooks final : public mtd::RunHooks {
 public:
  explicit TranscriptHooks(mtd::Simulation& sim) : sim_(sim) {}
  void attach(const mtd::RunController& run) { run_ = &run; }
  void repaintCell(std::int32_t, int) override {}
  bool stepCheck() override { return false; }
  void drawBlockHeader() override {}
  void drawIterationLine(std::int32_t) override {}
  void drawDistanceLine(std::int32_t) override {}
  void paintDecodeStep(std::int32_t) override {}
  bool decodeStepCheck() override { return false; }
  void loadConfiguration() override { mtd::loadConfiguration(sim_, "."); }
  void setRunning(bool) override {}
  bool quitRequested() const override { return false; }
  bool resetRequested() const override { return false; }
  void delayStep() override {}
  void grayResetItem() override {}
  void waitTimed(int) override {}
  void showStatistics() override {
    const mtd::SimParams& p = sim_.params;
    std::printf(
        "SHOWN BLOCK: TRIAL=%d | RAND=%d, P=%4.2f, CODE=1/2, K=%d, D=%d | NOISE WEIGHT=%d, START "
        "DISTANCE=%d | BLOCK NUMBER = %d | CURRENT DISTANCE=%d\n",
        run_->trial(), p.kst, static_cast<double>(p.p), p.nbl, p.codeDistance, run_->noiseWeight(),
        sim_.blockTally.weights[0], run_->blockNumber(), sim_.decoder.currentDistance);
    for (const auto& line : mtd::statisticsLines(sim_)) std::printf("%s\n", line.text.c_str());
  }
  void drawEmptyGrid() override { sim_.clearBlockTally(); }
  void enableRunItem() override {}

 private:
  mtd::Simulation& sim_;
  const mtd::RunController* run_ = nullptr;
};

}  // namespace

int main() {
  auto sim = std::make_unique<mtd::Simulation>();
  TranscriptHooks hooks(*sim);
  mtd::RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  std::printf("TRIALS=%d\nSHOWN BLOCKS=%d\n", run.trialsPerformed(), run.blockNumber());
  return 0;
}
