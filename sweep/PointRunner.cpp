#include "sweep/PointRunner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "sweep/BatchRunner.h"
#include "sweep/OrderedCombiner.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

namespace {

using Clock = std::chrono::steady_clock;

// How often the collecting thread looks at the cancel flag while no batch ends.
constexpr std::chrono::milliseconds CANCEL_POLL{20};

// State shared by the workers and the collecting thread, guarded by `mutex`.
struct SharedPoint {
  explicit SharedPoint(const StopRule& rule) : combiner(rule) {}

  std::mutex mutex;
  std::condition_variable workerWake;
  std::condition_variable collectorWake;
  OrderedCombiner combiner;
  std::vector<std::pair<std::int64_t, BatchTally>> finished;
  std::int64_t nextToClaim = 0;
  bool stop = false;
  bool collectorWaiting = false;
  // Finished batches wait for this many to gather before the collecting thread is woken, so
  // that it does not wake (a futex call and a context switch on a busy core) for every batch.
  std::size_t wakeAfter = 1;

  // Whether the collecting thread must fold now: results have arrived and either enough of
  // them, or a worker would otherwise wait for the fold (the window is full, or nothing is left
  // to claim).
  bool collectorNeeded(std::int64_t window) const {
    if (finished.empty()) return false;
    return finished.size() >= wakeAfter || nextToClaim >= combiner.nextNeeded() + window ||
           nextToClaim >= combiner.batchLimit();
  }
};

void workerLoop(const PointSetup& setup, const StopRule& rule, std::int64_t window,
                SharedPoint& shared) {
  Workspace workspace;
  std::unique_lock lock(shared.mutex);
  for (;;) {
    if (shared.stop || shared.nextToClaim >= shared.combiner.batchLimit()) return;
    if (shared.nextToClaim >= shared.combiner.nextNeeded() + window) {
      shared.workerWake.wait(lock);
      continue;
    }
    const std::int64_t batch = shared.nextToClaim++;
    lock.unlock();
    const BatchTally tally = runBatch(setup, batch, rule.maxFrames, workspace);
    lock.lock();
    shared.finished.emplace_back(batch, tally);
    if (shared.collectorWaiting && shared.collectorNeeded(window)) {
      shared.collectorWaiting = false;
      shared.collectorWake.notify_one();
    }
  }
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

PointResult runPoint(const PointSetup& setup, const StopRule& rule, int threads,
                     const std::atomic<bool>& cancel, const ProgressCallback& progress) {
  const Clock::time_point start = Clock::now();
  threads = std::max(threads, 1);
  SharedPoint shared(rule);
  const std::int64_t window = BATCHES_AHEAD_PER_THREAD * threads;
  shared.wakeAfter = static_cast<std::size_t>(threads) * 2;
  std::vector<std::thread> workers;
  workers.reserve(static_cast<std::size_t>(threads));
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back(workerLoop, std::cref(setup), std::cref(rule), window, std::ref(shared));
  }

  bool cancelled = false;
  std::unique_lock lock(shared.mutex);
  while (!shared.combiner.done()) {
    if (!shared.collectorNeeded(window) && !cancel.load()) {
      // A timeout folds what has gathered anyway, so progress and the time limit stay timely.
      shared.collectorWaiting = true;
      shared.collectorWake.wait_for(lock, CANCEL_POLL,
                                    [&] { return !shared.collectorWaiting || cancel.load(); });
      shared.collectorWaiting = false;
    }
    int folded = 0;
    for (const auto& [batch, tally] : shared.finished) folded += shared.combiner.add(batch, tally);
    shared.finished.clear();
    if (folded > 0) {
      shared.workerWake.notify_all();
      const double seconds = secondsSince(start);
      if (!shared.combiner.done() && rule.maxSeconds && seconds >= *rule.maxSeconds) {
        shared.combiner.finish();
      }
      if (progress) {
        const BatchTally total = shared.combiner.total();
        lock.unlock();
        progress(total, seconds);
        lock.lock();
      }
    }
    if (!shared.combiner.done() && cancel.load()) {
      cancelled = true;
      break;
    }
  }
  shared.stop = true;
  shared.workerWake.notify_all();
  const BatchTally total = shared.combiner.total();
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  return {total, secondsSince(start), !cancelled};
}

}  // namespace mtd::sweep
