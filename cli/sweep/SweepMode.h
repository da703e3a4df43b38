#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/SimCommand.h"
#include "cli/SweepOptions.h"
#include "core/Configuration.h"
#include "sweep/PointRunner.h"

namespace mtd::cli {

// Runs one point of a sweep with sweep::runPoint's contract: on this process's threads, or with
// its batches spread over several processes.
using PointRunner = std::function<sweep::PointResult(
    const sweep::PointSetup&, const sweep::StopRule&, int threads, const std::atomic<bool>& cancel,
    const sweep::ProgressCallback&)>;

// `mtd-sim sweep`: the error-rate curve of the loaded code, or the trace of one of its frames.
// Returns the exit status: 0, 2 when an output file cannot be made, 1 when output cannot be
// written, 130 when interrupted.
int runSweep(const std::vector<LoadedCode>& codes, const SweepOptions& options,
             const PointRunner& runPoint);

}  // namespace mtd::cli
