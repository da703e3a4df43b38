#include "mpi/LocalBatchPool.h"

#include <utility>

#include "sweep/BatchRunner.h"

namespace mtd::mpi {

LocalBatchPool::LocalBatchPool(int threads) {
  workers_.reserve(static_cast<std::size_t>(threads));
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
}

LocalBatchPool::~LocalBatchPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  queued_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void LocalBatchPool::beginPoint(const sweep::PointSetup& setup, std::int64_t frameLimit) {
  const std::lock_guard lock(mutex_);
  setup_ = setup;
  frameLimit_ = frameLimit;
}

void LocalBatchPool::push(std::int64_t batch) {
  {
    const std::lock_guard lock(mutex_);
    queue_.push_back(batch);
  }
  queued_.notify_one();
}

std::size_t LocalBatchPool::held() const {
  const std::lock_guard lock(mutex_);
  return queue_.size() + running_ + finished_.size();
}

std::size_t LocalBatchPool::finishedCount() const {
  const std::lock_guard lock(mutex_);
  return finished_.size();
}

std::size_t LocalBatchPool::working() const {
  const std::lock_guard lock(mutex_);
  return queue_.size() + running_;
}

std::vector<FinishedBatch> LocalBatchPool::takeFinished() {
  const std::lock_guard lock(mutex_);
  return std::exchange(finished_, {});
}

bool LocalBatchPool::wakeDue() const {
  if (finished_.empty()) return false;
  return finished_.size() >= wakeEnough_ || queue_.size() + running_ <= wakeLowWater_;
}

template <typename Wait>
void LocalBatchPool::waitUntilDue(std::size_t enough, std::size_t lowWater, Wait wait) {
  std::unique_lock lock(mutex_);
  wakeEnough_ = enough;
  wakeLowWater_ = lowWater;
  waiting_ = true;
  wait(lock, [this] { return wakeDue(); });
  waiting_ = false;
}

void LocalBatchPool::waitForFinished(std::size_t enough, std::size_t lowWater,
                                     std::chrono::microseconds limit) {
  waitUntilDue(enough, lowWater,
               [&](auto& lock, auto due) { finishedSignal_.wait_for(lock, limit, due); });
}

void LocalBatchPool::waitForFinished(std::size_t enough, std::size_t lowWater) {
  waitUntilDue(enough, lowWater, [&](auto& lock, auto due) { finishedSignal_.wait(lock, due); });
}

void LocalBatchPool::abandon() {
  std::unique_lock lock(mutex_);
  queue_.clear();
  finishedSignal_.wait(lock, [this] { return running_ == 0; });
  finished_.clear();
}

void LocalBatchPool::work() {
  sweep::Workspace workspace;
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::int64_t batch = queue_.front();
    queue_.pop_front();
    ++running_;
    // The setup only changes between points, when no batch is queued or running.
    const sweep::PointSetup& setup = setup_;
    const std::int64_t frameLimit = frameLimit_;
    lock.unlock();
    const sweep::BatchTally tally = sweep::runBatch(setup, batch, frameLimit, workspace);
    lock.lock();
    --running_;
    finished_.push_back({batch, tally});
    // abandon() waits for the last running batch; a waiting main thread for enough results.
    if (running_ == 0 || (waiting_ && wakeDue())) finishedSignal_.notify_all();
  }
}

}  // namespace mtd::mpi
