#pragma once

#include <cstdint>

#include "cli/ConfigurationSnapshot.h"

namespace mtd::cli {

// The transcript of one whole Run on stdout, with its progress on a terminal's stderr.
// Returns the exit status.
int transcriptMode(Simulation& sim, const ConfigurationSnapshot& configuration);

// The trace of trial `trial` of the Run on stdout; refused when the Run has no such trial.
int trialTraceMode(Simulation& sim, const ConfigurationSnapshot& configuration, std::int32_t trial);

}  // namespace mtd::cli
