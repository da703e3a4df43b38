// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial,
// and error-rate curves of its code.

#include "cli/SimCommand.h"
#include "cli/run/RunModes.h"
#include "cli/sweep/SweepMode.h"
#include "sweep/PointRunner.h"

// ---- record: its own command line and library (cli/record/) ----
#ifdef MTD_RECORD
#include <string_view>

#include "cli/record/RecordCommand.h"
#endif

int main(int argc, char** argv) {
#ifdef MTD_RECORD
  if (argc > 1 && std::string_view(argv[1]) == "record") {
    return mtd::cli::record::runRecordCommand(argc - 1, argv + 1);
  }
#endif
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
