// Threads against MPI ranks on whole points, as a user runs them: `mtd-sim sweep --threads N`
// and `mpirun -np N mtd-sim-mpi sweep --threads 1`, per lane path of this processor (MTD_LANES)
// and p = 0.03, 0.05, 0.07, with sound noise and the default code. Each iteration is one
// program run of one point; its time is the point's own wall time from the CSV (start-up left
// out), its Gbit/s the decoded information bits over that time. MTD_BENCH_FRAMES sets the
// frames of a point on the avx512 path (default 4,000,000, about a second on one Zen 5 core);
// narrower paths run proportionally fewer, so that every run takes about as long.
// MTD_BENCH_SIM and MTD_BENCH_SIM_MPI run other builds of the two programs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "SweepChild.h"
#include "sweep/LanePaths.h"

namespace {

using mtd::bench::ChildPoint;
using mtd::sweep::LanePathEntry;

constexpr int PERMILLE[] = {30, 50, 70};
constexpr long long DEFAULT_FRAMES = 4'000'000;
constexpr int WIDEST_LANES = 512;

std::string programPath(const char* variable, const char* built) {
  const char* chosen = std::getenv(variable);
  return chosen != nullptr && *chosen != '\0' ? chosen : built;
}

// The programs of this build, or others named in the environment (to compare two builds).
struct Programs {
  std::string sim = programPath("MTD_BENCH_SIM", MTD_SIM_PATH);
  std::string simMpi = programPath("MTD_BENCH_SIM_MPI", MTD_SIM_MPI_PATH);
  std::string mpirun = MTD_MPIRUN_PATH;  // empty where CMake found none
};

// MTD_BENCH_FRAMES, or the default; nullopt where it is not a positive whole number.
std::optional<long long> baseFrames() {
  const char* text = std::getenv("MTD_BENCH_FRAMES");
  if (text == nullptr || *text == '\0') return DEFAULT_FRAMES;
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 10);
  if (errno != 0 || *end != '\0' || value <= 0) return std::nullopt;
  return value;
}

long long pointFrames(const LanePathEntry& entry) {
  // Whole batches of 1024 frames, at least one.
  const long long frames = *baseFrames() * entry.lanes / WIDEST_LANES / 1024 * 1024;
  return frames > 1024 ? frames : 1024;
}

std::string csvPath() { return "/tmp/mtd_mpi_bench." + std::to_string(getpid()) + ".csv"; }

std::vector<std::string> sweepArguments(const LanePathEntry& entry, int permille, int threads) {
  return {"sweep",
          "--p",
          "0.0" + std::to_string(permille / 10),
          "--frames",
          std::to_string(pointFrames(entry)),
          "--frame-errors",
          "0",
          "--threads",
          std::to_string(threads),
          "--csv",
          csvPath()};
}

std::vector<std::string> childEnvironment(const LanePathEntry& entry) {
  std::vector<std::string> environment{std::string("MTD_LANES=") + entry.name};
  // OpenMPI refuses to run as root without both.
  if (geteuid() == 0) {
    environment.emplace_back("OMPI_ALLOW_RUN_AS_ROOT=1");
    environment.emplace_back("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1");
  }
  return environment;
}

void runPoints(benchmark::State& state, const std::vector<std::string>& command,
               const LanePathEntry& entry) {
  double bits = 0.0;
  double seconds = 0.0;
  for (auto _ : state) {
    std::string error;
    const std::optional<ChildPoint> point =
        mtd::bench::runSweepChild(command, childEnvironment(entry), csvPath(), error);
    if (!point) {
      state.SkipWithError(error.c_str());
      return;
    }
    state.SetIterationTime(point->seconds);
    bits += static_cast<double>(point->infoBits);
    seconds += point->seconds;
  }
  state.counters["Gbit/s"] = bits / seconds * 1e-9;
}

// The engine's own threads in one process.
void threadsPoint(benchmark::State& state, const LanePathEntry* entry, int permille, int threads) {
  std::vector<std::string> command{Programs{}.sim};
  for (std::string& a : sweepArguments(*entry, permille, threads)) command.push_back(a);
  runPoints(state, command, *entry);
}

// Ranks of one thread each. mpirun binds each of at most two ranks to a core of its own.
void ranksPoint(benchmark::State& state, const LanePathEntry* entry, int permille, int ranks) {
  const Programs programs;
  if (programs.mpirun.empty()) {
    state.SkipWithError("mpirun not found when the benchmark was configured");
    return;
  }
  std::vector<std::string> command{programs.mpirun, "-np", std::to_string(ranks), "--oversubscribe",
                                   programs.simMpi};
  for (std::string& a : sweepArguments(*entry, permille, 1)) command.push_back(a);
  runPoints(state, command, *entry);
}

void registerPaths() {
  for (const LanePathEntry& entry : mtd::sweep::lanePaths()) {
    if (!mtd::sweep::lanePathSupported(entry.path)) continue;
    for (const int permille : PERMILLE) {
      const std::string suffix = std::string(entry.name) + "/p0.0" + std::to_string(permille / 10);
      for (const int n : {1, 2}) {
        benchmark::RegisterBenchmark(
            ("BM_Threads/" + suffix + "/threads:" + std::to_string(n)).c_str(), threadsPoint,
            &entry, permille, n)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_Ranks/" + suffix + "/ranks:" + std::to_string(n)).c_str(),
                                     ranksPoint, &entry, permille, n)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!baseFrames()) {
    std::fprintf(stderr, "mtd_mpi_bench: MTD_BENCH_FRAMES=%s is not a positive whole number\n",
                 std::getenv("MTD_BENCH_FRAMES"));
    return 2;
  }
  registerPaths();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
