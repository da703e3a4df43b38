#pragma once

#include <mpi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mtd::mpi {

inline constexpr int ROOT = 0;

// The ranks' waits. A rank's main thread never waits on MPI while its own threads compute: it
// waits on them, and looks for messages when batches finish (pollMessage). Only a rank with
// nothing to compute waits for a message, and then in MPI's own blocking probe. OpenMPI's
// blocking calls spin on the core rather than sleep (with mpi_yield_when_idle they yield it
// between looks), which costs nothing then: this rank's threads are idle.
std::optional<MPI_Status> pollMessage(int source, int tag);
MPI_Status awaitMessage(int source, int tag);
// The same wait for rank 0, which must also notice an interruption (the other ranks may be gone
// already) and keep the stop rules' clock: it gives up when `cancel` is set or after `limit`.
std::optional<MPI_Status> awaitMessage(int source, int tag, const std::atomic<bool>& cancel,
                                       std::chrono::microseconds limit);

void sendWords(int destination, int tag, std::span<const std::int64_t> words);
std::vector<std::int64_t> receiveWords(const MPI_Status& status);

template <typename T>
void sendBytes(int destination, int tag, const T& value) {
  MPI_Send(&value, static_cast<int>(sizeof(T)), MPI_BYTE, destination, tag, MPI_COMM_WORLD);
}

template <typename T>
T receiveBytes(const MPI_Status& status) {
  T value{};
  MPI_Recv(&value, static_cast<int>(sizeof(T)), MPI_BYTE, status.MPI_SOURCE, status.MPI_TAG,
           MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  return value;
}

}  // namespace mtd::mpi
