#pragma once

#include <cstdio>

#include "cli/ConfigurationSnapshot.h"
#include "cli/run/TerminalProgress.h"
#include "control/NullRunHooks.h"

namespace mtd {
class RunController;
}

namespace mtd::cli {

// The null hooks of a run without a window, with the statistics screen as text on `out`, when
// one is given, and the trial progress of long silent stretches on a terminal, when one is
// given. Attach the controller before the run so that the lines carry the trial.
class HeadlessRunHooks final : public NullRunHooks {
 public:
  HeadlessRunHooks(Simulation& sim, const ConfigurationSnapshot& configuration, std::FILE* out,
                   TerminalProgress* progress = nullptr)
      : NullRunHooks(sim, configuration.file()), out_(out), progress_(progress) {}
  void attach(const RunController& run) { run_ = &run; }

  void showStatistics() override;

  // Without a terminal the clock stands still and a run never stops between trials.
  std::int64_t clockMilliseconds() override {
    return progress_ != nullptr ? progress_->clockMilliseconds() : 0;
  }
  void showTrialProgress(std::int32_t trialsDone, std::int32_t maxBlock) override {
    if (progress_ != nullptr) progress_->show(trialsDone, maxBlock);
  }
  void eraseTrialProgress() override {
    if (progress_ != nullptr) progress_->erase();
  }

 private:
  std::FILE* out_;
  TerminalProgress* progress_;
  const RunController* run_ = nullptr;
};

}  // namespace mtd::cli
