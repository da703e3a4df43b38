// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial,
// and error-rate curves of its code.

#include "cli/SimCommand.h"
#include "cli/run/RunModes.h"
#include "cli/sweep/SweepMode.h"
#include "sweep/PointRunner.h"

int main(int argc, char** argv) {
  mtd::cli::ProgramModes modes;
  modes.name = "mtd-sim";
  modes.transcript = mtd::cli::transcriptMode;
  modes.trialTrace = mtd::cli::trialTraceMode;
  modes.sweep = [](const std::vector<mtd::cli::LoadedCode>& codes,
                   const mtd::cli::SweepOptions& options) {
    return mtd::cli::runSweep(codes, options, mtd::sweep::runPoint);
  };
  return mtd::cli::runSimCommand(argc, argv, modes);
}
