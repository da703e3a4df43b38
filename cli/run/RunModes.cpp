#include "cli/run/RunModes.h"

#include <cstdio>
#include <optional>
#include <string>

#include "cli/Program.h"
#include "cli/run/TraceReport.h"
#include "cli/run/Transcript.h"
#include "cli/run/TrialTrace.h"

namespace mtd::cli {

namespace {

int finishOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    warn("cannot write the output");
    return EXIT_WRITE_FAILED;
  }
  return 0;
}

int refuse(const std::string& message) {
  warn(message);
  return EXIT_REFUSED;
}

}  // namespace

int transcriptMode(Simulation& sim, const ConfigurationSnapshot& configuration) {
  const auto progress = TerminalProgress::forTerminal(stderr);
  writeTranscript(sim, configuration, stdout, progress.get());
  return finishOutput();
}

int trialTraceMode(Simulation& sim, const ConfigurationSnapshot& configuration,
                   std::int32_t trial) {
  const std::optional<TrialTrace> trace = traceTrial(sim, configuration, trial);
  if (!trace) {
    const std::int32_t maxBlock = sim.params.maxBlock;
    if (maxBlock <= 0) {
      return refuse("--trial " + std::to_string(trial) +
                    ": the run has no trials (maxBlock=" + std::to_string(maxBlock) + ")");
    }
    return refuse("--trial " + std::to_string(trial) + " is outside the run's trials 0 to " +
                  std::to_string(maxBlock - 1) + " (maxBlock=" + std::to_string(maxBlock) + ")");
  }
  std::fputs(traceText(*trace).c_str(), stdout);
  return finishOutput();
}

}  // namespace mtd::cli
