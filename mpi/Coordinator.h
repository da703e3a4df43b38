#pragma once

#include <atomic>
#include <memory>

#include "sweep/PointRunner.h"

namespace mtd::mpi {

class LocalBatchPool;

// Rank 0's side of a sweep: runs each point on its own threads and on every other rank, handing
// out batches as ranks ask for them and folding the tallies in batch order, so that the counts
// are those of a single process. Has runPoint's contract.
class Coordinator {
 public:
  explicit Coordinator(int ranks);
  ~Coordinator();
  Coordinator(const Coordinator&) = delete;
  Coordinator& operator=(const Coordinator&) = delete;

  sweep::PointResult runPoint(const sweep::PointSetup& setup, const sweep::StopRule& rule,
                              int threads, const std::atomic<bool>& cancel,
                              const sweep::ProgressCallback& progress);

  // Lets every other rank go, to exit with this status.
  void quit(int status);

 private:
  struct RankState {
    bool asked = false;          // it has sent its first REPORT of the point
    bool awaitingReply = false;  // its REPORT is answered by ASSIGN or END only
    std::int64_t want = 0;
    std::int64_t holds = 0;  // batches assigned to it and not reported yet
  };
  class Point;

  int ranks_;
  std::unique_ptr<LocalBatchPool> pool_;
};

}  // namespace mtd::mpi
