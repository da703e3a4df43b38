#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mtd::bench {

// One point of a sweep as the program's CSV gives it.
struct ChildPoint {
  std::int64_t frames = 0;
  std::int64_t infoBits = 0;
  double seconds = 0.0;  // the point's own wall time, the program's start-up left out
};

// Runs a sweep program (`mtd-sim sweep …`, or `mpirun … mtd-sim-mpi sweep …`) as a child with
// `environment` added to this process's, its output discarded, and reads the one point it
// writes to `csvPath` (the caller puts `--csv csvPath` among the arguments; the file is removed
// afterwards). Returns nullopt with `error` set when the program fails or writes no point. An
// interruption of the benchmark (SIGINT, SIGTERM) reaches the child, and this process then
// ends once the child has, leaving no file behind.
std::optional<ChildPoint> runSweepChild(const std::vector<std::string>& arguments,
                                        const std::vector<std::string>& environment,
                                        const std::string& csvPath, std::string& error);

}  // namespace mtd::bench
