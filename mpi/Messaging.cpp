#include "mpi/Messaging.h"

#include <thread>

namespace mtd::mpi {

std::optional<MPI_Status> pollMessage(int source, int tag) {
  int arrived = 0;
  MPI_Status status;
  MPI_Iprobe(source, tag, MPI_COMM_WORLD, &arrived, &status);
  if (!arrived) return std::nullopt;
  return status;
}

MPI_Status awaitMessage(int source, int tag) {
  MPI_Status status;
  MPI_Probe(source, tag, MPI_COMM_WORLD, &status);
  return status;
}

std::optional<MPI_Status> awaitMessage(int source, int tag, const std::atomic<bool>& cancel,
                                       std::chrono::microseconds limit) {
  // MPI_Probe cannot be interrupted, so rank 0 does what it does inside, with the flag and the
  // clock among its looks: probe, and yield the core to any thread that wants it.
  const auto until = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (const std::optional<MPI_Status> status = pollMessage(source, tag)) return status;
    if (cancel.load() || std::chrono::steady_clock::now() >= until) return std::nullopt;
    std::this_thread::yield();
  }
}

void sendWords(int destination, int tag, std::span<const std::int64_t> words) {
  MPI_Send(words.data(), static_cast<int>(words.size()), MPI_INT64_T, destination, tag,
           MPI_COMM_WORLD);
}

std::vector<std::int64_t> receiveWords(const MPI_Status& status) {
  int count = 0;
  MPI_Get_count(&status, MPI_INT64_T, &count);
  std::vector<std::int64_t> words(static_cast<std::size_t>(count));
  MPI_Recv(words.data(), count, MPI_INT64_T, status.MPI_SOURCE, status.MPI_TAG, MPI_COMM_WORLD,
           MPI_STATUS_IGNORE);
  return words;
}

}  // namespace mtd::mpi
