#pragma once

#include <cstdio>
#include <string>

#include "cli/ConfigurationSnapshot.h"
#include "cli/run/TerminalProgress.h"
#include "control/RunController.h"

namespace mtd::cli {

// The transcript of a shown block at its statistics screen: the "SHOWN BLOCK:" line with the
// trial index and the status lines, then the eleven statistics lines, each ending in a line feed.
std::string shownBlockText(const Simulation& sim, const RunController& run);

// Performs one whole Run through the run controller and writes its transcript, ending with
// TRIALS= and SHOWN BLOCKS=. Long stretches without a shown block show their progress, when
// a progress line is given.
void writeTranscript(Simulation& sim, const ConfigurationSnapshot& configuration, std::FILE* out,
                     TerminalProgress* progress = nullptr);

}  // namespace mtd::cli
