// mtd-sim: the demonstration's run without a window, as a transcript or the trace of one trial,
// and error-rate curves of its code.

#include "cli/SimCommand.h"
#include "sweep/PointRunner.h"

int main(int argc, char** argv) {
  return mtd::cli::runSimCommand(argc, argv, mtd::sweep::runPoint);
}
