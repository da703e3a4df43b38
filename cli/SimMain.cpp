// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial,
// and error-rate curves of its code.

#include "cli/SimCommand.h"
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
  return mtd::cli::runSimCommand(argc, argv, mtd::sweep::runPoint);
}
