#pragma once

#include <cstdint>
#include <optional>

#include "cli/ConfigurationSnapshot.h"
#include "cli/trace/DecodingTrace.h"
#include "control/BlockSelection.h"

namespace mtd::cli {

// One trial block of a run, as the decoder works through it, and what the selection rule
// makes of it.
struct TrialTrace : DecodingTrace {
  std::int32_t trial = 0;
  std::int32_t shownBefore = 0;  // blocks the earlier trials of the run show

  // The selection rule reads the silent trial's tally and the decoder's lastIteration.
  ErrorTally silentTally;
  SelectionVerdict verdict = SelectionVerdict::Shown;
};

// Loads the configuration as a run's first step does and traces trial `trial` (from 0) of the
// run; nothing when the run has no such trial.
std::optional<TrialTrace> traceTrial(Simulation& sim, const ConfigurationSnapshot& configuration,
                                     std::int32_t trial);

}  // namespace mtd::cli
