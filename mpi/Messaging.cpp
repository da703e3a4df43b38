#include "mpi/Messaging.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace mtd::mpi {

MPI_Status awaitMessage(int source, int tag) {
  // Short at first, for the quick replies in the middle of a point; longer while a rank idles
  // between points.
  std::chrono::microseconds pause{20};
  for (;;) {
    if (const std::optional<MPI_Status> status = pollMessage(source, tag)) return *status;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds{2000});
  }
}

std::optional<MPI_Status> pollMessage(int source, int tag) {
  int arrived = 0;
  MPI_Status status;
  MPI_Iprobe(source, tag, MPI_COMM_WORLD, &arrived, &status);
  if (!arrived) return std::nullopt;
  return status;
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
