#include "mpi/Worker.h"

#include <memory>
#include <optional>

#include "mpi/LocalBatchPool.h"
#include "mpi/Messaging.h"
#include "mpi/Protocol.h"

namespace mtd::mpi {

namespace {

void sendReport(const Report& report) { sendWords(ROOT, TAG_REPORT, encodeReport(report)); }

int quitStatus(const MPI_Status& status) {
  const std::vector<std::int64_t> words = receiveWords(status);
  return words.empty() ? 1 : static_cast<int>(words[0]);
}

// Rank 0's reply to the last REPORT. The main thread looks for it whenever a round of batches
// has finished, and waits on MPI only once nothing is left to compute: with the credit a rank
// holds, the reply is normally there long before then.
MPI_Status awaitReply(LocalBatchPool& pool) {
  const auto threads = static_cast<std::size_t>(pool.threads());
  for (;;) {
    if (const std::optional<MPI_Status> reply = pollMessage(ROOT, MPI_ANY_TAG)) return *reply;
    if (pool.working() == 0) return awaitMessage(ROOT, MPI_ANY_TAG);
    pool.waitForFinished(pool.finishedCount() + threads, 0);
  }
}

// Computes the batches of one point until rank 0 ends it; a QUIT gives the status to exit with.
std::optional<int> workPoint(LocalBatchPool& pool, const PointMessage& point) {
  pool.beginPoint(point.setup, point.frameLimit);
  const auto threads = static_cast<std::size_t>(pool.threads());
  const std::size_t credit = BATCHES_PER_THREAD * threads;
  for (;;) {
    // Finished batches go back every REPORT_ROUNDS rounds of the threads, and at once when the
    // rank runs low, so that most of the credit is still queued while the reply travels; an
    // idle rank asks for work at once.
    if (pool.held() > 0) pool.waitForFinished(REPORT_ROUNDS * threads, threads);
    std::vector<FinishedBatch> finished = pool.takeFinished();
    sendReport({static_cast<std::int64_t>(credit - pool.held()), std::move(finished)});
    const MPI_Status reply = awaitReply(pool);
    if (reply.MPI_TAG == TAG_ASSIGN) {
      for (const std::int64_t batch : receiveWords(reply)) pool.push(batch);
      continue;
    }
    pool.abandon();
    if (reply.MPI_TAG == TAG_QUIT) return quitStatus(reply);
    receiveWords(reply);  // END
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
