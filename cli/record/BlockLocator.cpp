#include "cli/record/BlockLocator.h"

#include <memory>

#include "control/NullRunHooks.h"
#include "control/RunController.h"

namespace mtd::cli::record {

namespace {

// Counts the animated steps of the chosen block and stops the run once it has been decoded.
class LocatorHooks final : public NullRunHooks {
 public:
  LocatorHooks(Simulation& sim, const ConfigurationFile& configuration, BlockChoice choice)
      : NullRunHooks(sim, configuration), choice_(choice) {}

  void attach(const RunController& run) { run_ = &run; }
  const std::optional<BlockPlan>& plan() const { return plan_; }
  std::int32_t shownBlocks() const { return run_->blockNumber(); }

  bool stepCheck() override {
    if (chosen()) ++passSteps_;
    return false;
  }
  void drawBlockHeader() override {
    if (!chosen()) return;
    BlockPlan plan;
    plan.blockNumber = run_->blockNumber();
    plan.trial = run_->trial();
    // The three passes each step once per cell: two noise passes, then the syndrome.
    const std::int64_t cells = simulation().params.nbl;
    plan.noiseSteps = 2 * cells;
    plan.syndromeSteps = passSteps_ - 2 * cells;
    plan_ = plan;
  }
  bool decodeStepCheck() override {
    if (plan_ && !finished_) ++plan_->decodingSteps;
    return false;
  }
  void waitTimed(int) override {
    if (plan_) finished_ = true;
  }
  bool quitRequested() const override { return finished_ || pastChosenTrial_; }
  // The clock runs one service interval per silent trial, so the run checks its stop flags
  // after every trial and ends soon after a chosen trial it does not show.
  std::int64_t clockMilliseconds() override {
    if (choice_.by == BlockChoice::By::Trial && run_->trial() > choice_.value) {
      pastChosenTrial_ = true;
    }
    return clock_ += 1000;
  }

 private:
  bool chosen() const {
    if (plan_) return false;
    return choice_.by == BlockChoice::By::BlockNumber ? run_->blockNumber() == choice_.value
                                                      : run_->trial() == choice_.value;
  }

  BlockChoice choice_;
  const RunController* run_ = nullptr;
  std::optional<BlockPlan> plan_;
  std::int64_t passSteps_ = 0;
  std::int64_t clock_ = 0;
  bool finished_ = false;
  bool pastChosenTrial_ = false;
};

}  // namespace

LocatedBlock locateBlock(const ConfigurationFile& configuration, const BlockChoice& choice) {
  auto sim = std::make_unique<Simulation>();
  LocatorHooks hooks(*sim, configuration, choice);
  RunController run(*sim, hooks);
  hooks.attach(run);
  run.run();
  if (hooks.plan()) return {hooks.plan(), {}};

  const std::int32_t maxBlock = sim->params.maxBlock;
  const std::string shown = std::to_string(hooks.shownBlocks());
  if (choice.by == BlockChoice::By::BlockNumber) {
    return {std::nullopt, "--block " + std::to_string(choice.value) + ": the run shows " + shown +
                              " block" + (shown == "1" ? "" : "s")};
  }
  if (choice.value >= maxBlock) {
    return {std::nullopt, "--trial " + std::to_string(choice.value) +
                              " is outside the run's trials 0 to " + std::to_string(maxBlock - 1)};
  }
  return {std::nullopt, "--trial " + std::to_string(choice.value) +
                            ": the run does not show this trial (mtd-sim --trial " +
                            std::to_string(choice.value) + " says why)"};
}

}  // namespace mtd::cli::record
