// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial.

#include <cstdio>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ConfigurationSnapshot.h"
#include "cli/TraceReport.h"
#include "cli/Transcript.h"
#include "cli/TrialTrace.h"

namespace {

constexpr int EXIT_WRITE_FAILED = 1;
constexpr int EXIT_REFUSED = 2;

int refuse(const std::string& message) {
  std::fprintf(stderr, "mtd-sim: %s\n", message.c_str());
  return EXIT_REFUSED;
}

int finishOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "mtd-sim: cannot write the output\n");
    return EXIT_WRITE_FAILED;
  }
  return 0;
}

int traceMode(mtd::Simulation& sim, const mtd::cli::ConfigurationSnapshot& configuration,
              std::int32_t trial) {
  const std::optional<mtd::cli::TrialTrace> trace = mtd::cli::traceTrial(sim, configuration, trial);
  if (!trace) {
    const std::int32_t maxBlock = sim.params.maxBlock;
    if (maxBlock <= 0) {
      return refuse("--trial " + std::to_string(trial) +
                    ": the run has no trials (maxBlock=" + std::to_string(maxBlock) + ")");
    }
    return refuse("--trial " + std::to_string(trial) + " is outside the run's trials 0 to " +
                  std::to_string(maxBlock - 1) + " (maxBlock=" + std::to_string(maxBlock) + ")");
  }
  std::fputs(mtd::cli::traceText(*trace).c_str(), stdout);
  return finishOutput();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const mtd::cli::ParsedCommandLine parsed = mtd::cli::parseCommandLine(arguments);
  if (!parsed.commandLine) {
    return refuse(parsed.error + " (mtd-sim --help lists the options)");
  }
  const mtd::cli::CommandLine& commandLine = *parsed.commandLine;
  if (commandLine.mode == mtd::cli::Mode::Help) {
    std::fputs(mtd::cli::usageText().c_str(), stdout);
    return finishOutput();
  }
  if (commandLine.mode == mtd::cli::Mode::Version) {
    std::fputs(mtd::cli::versionText().c_str(), stdout);
    return finishOutput();
  }
  std::error_code error;
  if (!std::filesystem::is_directory(commandLine.directory, error)) {
    const bool exists = std::filesystem::exists(commandLine.directory, error);
    return refuse("-C " + commandLine.directory.string() +
                  (exists ? ": not a directory" : ": no such directory"));
  }

  // The window program loads init.txt when its window first shows and again when Run starts;
  // the load here stands for the first and decides whether to run at all.
  const mtd::cli::ConfigurationSnapshot configuration(commandLine.directory);
  auto sim = std::make_unique<mtd::Simulation>();
  const mtd::LoadResult load = configuration.loadInto(*sim);
  if (!load.rejection.empty()) {
    std::fprintf(stderr, "%s\n", load.rejection.c_str());
    // The window program would go on with the defaults; a batch run stops so that nobody takes
    // the defaults' transcript for the file's.
    return refuse("not run (the window program would take the defaults): correct or remove " +
                  (commandLine.directory / mtd::CONFIG_FILE_NAME).string());
  }

  if (commandLine.mode == mtd::cli::Mode::TrialTrace) {
    return traceMode(*sim, configuration, commandLine.trial);
  }
  mtd::cli::writeTranscript(*sim, configuration, stdout);
  return finishOutput();
}
