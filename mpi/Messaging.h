#pragma once

#include <mpi.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mtd::mpi {

inline constexpr int ROOT = 0;

// A blocking MPI receive spins on a core; a rank waits here instead, polling with short sleeps,
// so that its own computing threads keep the cores.
MPI_Status awaitMessage(int source, int tag);
std::optional<MPI_Status> pollMessage(int source, int tag);

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
