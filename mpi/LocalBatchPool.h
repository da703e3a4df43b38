#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "mpi/Protocol.h"
#include "sweep/PointSetup.h"

namespace mtd::mpi {

// One rank's threads, each computing whole batches of the current point. The rank's main
// thread, the only one that talks to other ranks, feeds it batch numbers and collects the
// tallies in whatever order they finish.
class LocalBatchPool {
 public:
  explicit LocalBatchPool(int threads);
  ~LocalBatchPool();
  LocalBatchPool(const LocalBatchPool&) = delete;
  LocalBatchPool& operator=(const LocalBatchPool&) = delete;

  int threads() const { return static_cast<int>(workers_.size()); }

  // Only between points, when nothing is held.
  void beginPoint(const sweep::PointSetup& setup, std::int64_t frameLimit);
  void push(std::int64_t batch);
  // Batches given and not yet taken back: queued, running or finished.
  std::size_t held() const;
  // Of those, the finished ones, and the ones queued or running.
  std::size_t finishedCount() const;
  std::size_t working() const;
  std::vector<FinishedBatch> takeFinished();
  // Returns once batches have finished and either `enough` of them wait to be taken or at most
  // `lowWater` are left queued or running (at once if that holds already), or after `limit`.
  // The threads wake the caller only then, not for every batch.
  void waitForFinished(std::size_t enough, std::size_t lowWater, std::chrono::microseconds limit);
  // The same without a limit: only where batches are held, which finish.
  void waitForFinished(std::size_t enough, std::size_t lowWater);
  // Ends the point early: queued batches are dropped, running ones waited for and discarded.
  void abandon();

 private:
  void work();
  bool wakeDue() const;
  template <typename Wait>
  void waitUntilDue(std::size_t enough, std::size_t lowWater, Wait wait);

  mutable std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable finishedSignal_;
  sweep::PointSetup setup_;
  std::int64_t frameLimit_ = 0;
  std::deque<std::int64_t> queue_;
  std::vector<FinishedBatch> finished_;
  std::size_t running_ = 0;
  bool stopping_ = false;
  bool waiting_ = false;
  std::size_t wakeEnough_ = 1;
  std::size_t wakeLowWater_ = 0;
  std::vector<std::thread> workers_;
};

}  // namespace mtd::mpi
