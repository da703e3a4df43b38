#include "mpi/Worker.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "mpi/LocalBatchPool.h"
#include "mpi/Messaging.h"
#include "mpi/Protocol.h"

namespace mtd::mpi {

namespace {

// A rank that has run low on work looks for rank 0's reply at growing intervals rather than
// waking every few microseconds on a busy core.
constexpr std::chrono::microseconds FIRST_REPLY_POLL{50};
constexpr std::chrono::microseconds LAST_REPLY_POLL{1000};

void sendReport(const Report& report) { sendWords(ROOT, TAG_REPORT, encodeReport(report)); }

int quitStatus(const MPI_Status& status) {
  const std::vector<std::int64_t> words = receiveWords(status);
  return words.empty() ? 1 : static_cast<int>(words[0]);
}

// Computes the batches of one point until rank 0 ends it; a QUIT gives the status to exit with.
std::optional<int> workPoint(LocalBatchPool& pool, const PointMessage& point) {
  pool.beginPoint(point.setup, point.frameLimit);
  const auto threads = static_cast<std::size_t>(pool.threads());
  const std::size_t credit = BATCHES_PER_THREAD * threads;
  bool awaitingReply = false;
  std::chrono::microseconds replyPoll = FIRST_REPLY_POLL;
  for (;;) {
    if (!awaitingReply) {
      // Finished batches go back in rounds of a quarter of the credit, which keeps the rest
      // queued while the reply travels, and all of them once the rank runs low; an idle rank
      // asks for work at once and waits for it.
      if (pool.held() > 0) {
        pool.waitForFinished(credit / 4, threads, std::chrono::milliseconds{100});
      }
      std::vector<FinishedBatch> finished = pool.takeFinished();
      if (finished.empty() && pool.held() > 0) continue;
      const auto want = static_cast<std::int64_t>(credit - pool.held());
      sendReport({want, std::move(finished)});
      awaitingReply = true;
      replyPoll = FIRST_REPLY_POLL;
      continue;
    }
    const std::optional<MPI_Status> reply = pollMessage(ROOT, MPI_ANY_TAG);
    if (!reply) {
      if (pool.working() > threads) {
        // Work is still queued: look again when the next round has finished, so the main
        // thread wakes with its threads' results rather than on a timer.
        pool.waitForFinished(pool.finishedCount() + credit / 4, threads, 2 * LAST_REPLY_POLL);
      } else {
        std::this_thread::sleep_for(replyPoll);
        replyPoll = std::min(replyPoll * 2, LAST_REPLY_POLL);
      }
      continue;
    }
    if (reply->MPI_TAG == TAG_ASSIGN) {
      for (const std::int64_t batch : receiveWords(*reply)) pool.push(batch);
      awaitingReply = false;
      continue;
    }
    pool.abandon();
    if (reply->MPI_TAG == TAG_QUIT) return quitStatus(*reply);
    receiveWords(*reply);  // END
    return std::nullopt;
  }
}

}  // namespace

int runWorker() {
  std::unique_ptr<LocalBatchPool> pool;
  for (;;) {
    const MPI_Status message = awaitMessage(ROOT, MPI_ANY_TAG);
    if (message.MPI_TAG == TAG_QUIT) return quitStatus(message);
    const auto point = receiveBytes<PointMessage>(message);
    const int threads = point.threads;
    if (!pool || pool->threads() != threads) pool = std::make_unique<LocalBatchPool>(threads);
    if (const std::optional<int> status = workPoint(*pool, point)) return *status;
  }
}

}  // namespace mtd::mpi
