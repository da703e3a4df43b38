// mtd-sim-mpi: mtd-sim's sweep with the batches of each point spread over MPI ranks. Rank 0 reads
// the command line and init.txt, hands each point to the other ranks, prints and writes every
// file; the counts are those of mtd-sim.

#include <mpi.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "cli/Program.h"
#include "cli/SimCommand.h"
#include "cli/sweep/SweepMode.h"
#include "mpi/Coordinator.h"
#include "mpi/Messaging.h"
#include "mpi/Worker.h"

namespace {

constexpr const char* PROGRAM_NAME = "mtd-sim-mpi";

// Interrupted, mpirun sends SIGINT and about a second later SIGTERM to every rank: the sweep
// catches both on rank 0 to keep what it has computed.
int runRoot(int argc, char** argv, int ranks) {
  mtd::mpi::Coordinator coordinator(ranks);
  const mtd::cli::PointRunner runPoint =
      [&coordinator](const mtd::sweep::PointSetup& setup, const mtd::sweep::StopRule& rule,
                     int threads, const std::atomic<bool>& cancel,
                     const mtd::sweep::ProgressCallback& progress) {
        return coordinator.runPoint(setup, rule, threads, cancel, progress);
      };
  mtd::cli::ProgramModes modes;
  modes.name = PROGRAM_NAME;
  modes.sweep = [&runPoint](const std::vector<mtd::cli::LoadedCode>& codes,
                            const mtd::cli::SweepOptions& options) {
    return mtd::cli::runSweep(codes, options, runPoint);
  };
  const int status = mtd::cli::runSimCommand(argc, argv, modes);
  coordinator.quit(status);
  return status;
}

int runOtherRank() {
  // A rank killed by mpirun's SIGTERM would take rank 0 down with it before the partial results
  // are written; rank 0's QUIT ends it instead, or mpirun's SIGKILL if rank 0 is gone.
  signal(SIGTERM, SIG_IGN);
  return mtd::mpi::runWorker();
}

}  // namespace

int main(int argc, char** argv) {
  // Only a rank's main thread calls MPI; its computing threads hand their batches over through
  // the rank's pool.
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  int rank = 0;
  int ranks = 1;
  MPI_Comm_rank(MPI_COMM_WORLD, &rank);
  MPI_Comm_size(MPI_COMM_WORLD, &ranks);
  if (provided < MPI_THREAD_FUNNELED) {
    if (rank == mtd::mpi::ROOT) std::fprintf(stderr, "mtd-sim-mpi: MPI without thread support\n");
    MPI_Finalize();
    return 1;
  }
  const int status = rank == mtd::mpi::ROOT ? runRoot(argc, argv, ranks) : runOtherRank();
  if (status > mtd::cli::exitStatusForSignal(0)) {
    // mpirun is tearing the job down: MPI_Finalize would wait for ranks it is killing.
    std::fflush(nullptr);
    std::_Exit(status);
  }
  MPI_Finalize();
  return status;
}
