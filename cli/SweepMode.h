#pragma once

#include <filesystem>
#include <string>

#include "cli/SweepOptions.h"
#include "core/Configuration.h"

namespace mtd::cli {

// Where the code of a sweep came from, for its header.
std::string configurationSource(const LoadResult& load, const std::filesystem::path& directory);

// `mtd-sim sweep`: the error-rate curve of the loaded code, or the trace of one of its frames.
// Returns the exit status: 0, 2 when an output file cannot be made, 1 when output cannot be
// written, 130 when interrupted.
int runSweep(const SimParams& params, const SweepOptions& options,
             const std::string& configuration);

}  // namespace mtd::cli
