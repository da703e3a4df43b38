#pragma once

#include <string>
#include <vector>

#include "cli/sweep/SweepPoint.h"
#include "cli/sweep/SweepSettings.h"

namespace mtd::cli {

// The sweep for scripts: the settings (version, command, each code, noise, seed, stop rules)
// and every point with its counts, rates, intervals and why it stopped; `interrupted` says
// whether points are missing.
std::string sweepJson(const SweepSettings& settings, const std::vector<SweepPoint>& points,
                      bool interrupted);

}  // namespace mtd::cli
