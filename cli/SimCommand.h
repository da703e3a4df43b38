#pragma once

#include "cli/SweepMode.h"

namespace mtd::cli {

// mtd-sim's command line and what it asks for, with the runner of a sweep's points given:
// mtd-sim runs them on its own threads, mtd-sim-mpi over MPI ranks. Returns the exit status.
int runSimCommand(int argc, char** argv, const PointRunner& runPoint);

}  // namespace mtd::cli
