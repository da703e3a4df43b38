// MTD_LANES through the binary: every path the processor runs gives the same table and names
// itself in the header; a path that cannot run is refused before anything is written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "SimProcess.h"
#include "sweep/LanePaths.h"

namespace mtd::testing {
namespace {

// Sets MTD_LANES for the programs this test starts.
class LanesVariable {
 public:
  explicit LanesVariable(const std::string& value) { setenv("MTD_LANES", value.c_str(), 1); }
  ~LanesVariable() { unsetenv("MTD_LANES"); }
  LanesVariable(const LanesVariable&) = delete;
  LanesVariable& operator=(const LanesVariable&) = delete;
};

// The table's rows without the seconds and Mbit/s columns, which vary from run to run.
std::string countsOf(const std::string& out) {
  std::string rows;
  for (const std::string& line : linesOf(out)) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t bar = 0;
    for (int column = 0; column < 7 && bar != std::string::npos; ++column) {
      bar = line.find('|', bar + 1);
    }
    rows += line.substr(0, bar) + "\n";
  }
  return rows;
}

TEST(LaneChoice, EveryPathHereGivesTheSameTableAndNamesItself) {
  ScratchDirectory dir;
  std::string reference;
  for (const sweep::LanePathEntry& path : sweep::lanePaths()) {
    if (!sweep::lanePathSupported(path.path)) {
      std::printf("[ SKIPPED  ] %s: needs %s\n", path.name, path.instructionSets);
      continue;
    }
    const LanesVariable lanes(path.name);
    const SimOutcome run = runSim(
        {"sweep", "--p", "0.06,0.08", "--frames", "3000", "--frame-errors", "0"}, dir.path());
    ASSERT_EQ(run.status, 0) << path.name << "\n" << run.err;
    EXPECT_NE(run.out.find(std::string("lanes") + " "), std::string::npos);
    EXPECT_NE(run.out.find(std::string(path.name) + ", " + std::to_string(path.lanes) +
                           " frames side by side"),
              std::string::npos)
        << run.out;
    const std::string counts = countsOf(run.out);
    EXPECT_EQ(linesOf(counts).size(), 2u) << run.out;
    if (reference.empty()) reference = counts;
    EXPECT_EQ(counts, reference) << path.name;
  }
  EXPECT_FALSE(reference.empty());
}

TEST(LaneChoice, UnknownOrUnsupportedPathsAreRefusedWithExitTwo) {
  ScratchDirectory dir;
  std::vector<std::string> refused = {"avx1024", "AVX2"};
  for (const sweep::LanePathEntry& path : sweep::lanePaths()) {
    if (!sweep::lanePathSupported(path.path)) refused.push_back(path.name);
  }
  for (const std::string& value : refused) {
    const LanesVariable lanes(value);
    const SimOutcome run =
        runSim({"sweep", "--p", "0.05", "--frames", "1024", "--csv", "c.csv"}, dir.path());
    EXPECT_EQ(run.status, 2) << value;
    EXPECT_NE(run.err.find("MTD_LANES=" + value + ": "), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "") << value;
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "c.csv")) << value;
  }
}

}  // namespace
}  // namespace mtd::testing
