#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/AnimationHooks.h"
#include "core/CodeTaps.h"
#include "core/Configuration.h"
#include "core/Passes.h"

namespace mtd::testing {

inline void loadDefaults(Simulation& sim) { loadConfigurationText(sim, std::nullopt); }

// Runs the silent passes of one trial block, as the run controller does.
inline void runSilentBlock(Simulation& sim) {
  sim.clearBlockTally();
  generateInfoNoise(sim, nullptr);
  generateCheckNoise(sim, nullptr);
  formSyndrome(sim, nullptr);
  decodeBlock(sim, nullptr);
}

inline std::vector<int> onesOf(const Bit* row, int count, std::size_t limit = 1u << 20) {
  std::vector<int> ones;
  for (int i = 0; i < count && ones.size() < limit; ++i) {
    if (row[i]) ones.push_back(i);
  }
  return ones;
}

struct Flip {
  int iteration;
  int position;
  int sum;
  friend bool operator==(const Flip&, const Flip&) = default;
};

// Records what an animated pass shows, never stops it.
class RecordingHooks : public AnimationHooks {
 public:
  explicit RecordingHooks(Simulation& sim) : sim_(sim) {}
  void repaintCell(std::int32_t position, int row) override { cells.push_back({row, position}); }
  bool stepCheck() override { return ++checks == stopAtCheck; }
  void drawBlockHeader() override { ++headers; }
  void drawIterationLine(std::int32_t iteration) override {
    iterations.push_back(iteration);
    current = iteration;
  }
  // The information bit is flipped already, the syndrome not yet.
  void drawDistanceLine(std::int32_t distance) override {
    distances.push_back(distance);
    const SimParams& p = sim_.params;
    const int f = p.decodeCursor;
    const int sum = 1 - sim_.rows.difference[f] + syndromeAtChecks(p, sim_.rows, f);
    flips.push_back({current, f, sum});
  }
  void paintDecodeStep(std::int32_t position) override { steps.push_back(position); }
  bool decodeStepCheck() override { return ++decodeChecks == stopAtDecodeCheck; }

  struct Cell {
    int row;
    int position;
  };
  std::vector<Cell> cells;
  std::vector<int> iterations;
  std::vector<int> distances;
  std::vector<Flip> flips;
  std::vector<int> steps;
  int headers = 0;
  long checks = 0;
  long decodeChecks = 0;
  long stopAtCheck = -1;
  long stopAtDecodeCheck = -1;
  int current = -1;

 private:
  Simulation& sim_;
};

}  // namespace mtd::testing
