#include "mpi/Worker.h"

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "mpi/LocalBatchPool.h"
#include "mpi/Messaging.h"
#include "mpi/Protocol.h"

namespace mtd::mpi {

namespace {

constexpr std::chrono::microseconds REPLY_POLL{50};

void sendReport(const Report& report) { sendWords(ROOT, TAG_REPORT, encodeReport(report)); }

int quitStatus(const MPI_Status& status) {
  const std::vector<std::int64_t> words = receiveWords(status);
  return words.empty() ? 1 : static_cast<int>(words[0]);
}

// Computes the batches of one point until rank 0 ends it; a QUIT gives the status to exit with.
std::optional<int> workPoint(LocalBatchPool& pool, const PointMessage& point) {
  pool.beginPoint(point.setup, point.frameLimit);
  const std::size_t credit = BATCHES_PER_THREAD * static_cast<std::size_t>(pool.threads());
  bool awaitingReply = false;
  for (;;) {
    if (!awaitingReply) {
      std::vector<FinishedBatch> finished = pool.takeFinished();
      // Finished batches go back at once; an idle rank asks for work and waits for it.
      if (finished.empty() && pool.held() > 0) {
        pool.waitForFinished(std::chrono::milliseconds{100});
        continue;
      }
      const auto want = static_cast<std::int64_t>(credit - pool.held());
      sendReport({want, std::move(finished)});
      awaitingReply = true;
      continue;
    }
    const std::optional<MPI_Status> reply = pollMessage(ROOT, MPI_ANY_TAG);
    if (!reply) {
      std::this_thread::sleep_for(REPLY_POLL);
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
