// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial,
// and error-rate curves of its code.

#include <string_view>

#include "cli/Program.h"
#include "cli/SimCommand.h"
#include "cli/run/RunModes.h"
#include "cli/sweep/SweepMode.h"
#include "sweep/PointRunner.h"

// ---- record: its own command line and library (cli/record/) ----
#ifdef MTD_RECORD
#include "cli/record/RecordCommand.h"
#endif

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "record") {
#ifdef MTD_RECORD
    return mtd::cli::record::runRecordCommand(argc - 1, argv + 1);
#else
    // Said plainly rather than as an unknown argument: the command exists, this build lacks it.
    mtd::cli::nameProgram("mtd-sim");
    mtd::cli::warn(
        "record is not part of this build: it draws with Cairo, which the Windows build and "
        "builds with -DMTD_RECORD=OFF leave out; record on Linux");
    return mtd::cli::EXIT_REFUSED;
#endif
  }
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
