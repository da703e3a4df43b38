#include "sweep/RunPlan.h"

#include <algorithm>

namespace mtd::sweep {

RunPlan::RunPlan(const SweepCode& code) : tapCount(code.tapCount()) {
  const std::int32_t nbl = code.nbl();
  const std::int32_t first = code.firstPosition();
  std::array<std::int32_t, MAX_NDN_USED + 3> cuts{};
  int cutCount = 0;
  cuts[cutCount++] = 0;
  cuts[cutCount++] = first;
  cuts[cutCount++] = nbl;
  for (std::int32_t j = 0; j < tapCount; ++j) cuts[cutCount++] = nbl - code.tap(j);
  std::sort(cuts.begin(), cuts.begin() + cutCount);
  cutCount = static_cast<int>(std::unique(cuts.begin(), cuts.begin() + cutCount) - cuts.begin());

  auto addRuns = [&](std::int32_t from, std::int32_t to) {
    for (int c = 0; c + 1 < cutCount; ++c) {
      const std::int32_t begin = std::max(cuts[c], from);
      const std::int32_t end = std::min(cuts[c + 1], to);
      if (begin >= end) continue;
      PositionRun& run = runs[count++];
      run.begin = begin;
      run.end = end;
      for (std::int32_t j = 0; j < tapCount; ++j) {
        const std::int32_t tap = code.tap(j);
        run.offsets[j] = begin + tap >= nbl ? tap - nbl : tap;
      }
    }
  };
  addRuns(first, nbl);
  addRuns(0, first);

  for (std::int32_t a = 0; a < tapCount; ++a) {
    for (std::int32_t b = a + 1; b < tapCount; ++b) {
      if (code.tap(a) % nbl == code.tap(b) % nbl) distinctTaps = false;
    }
  }
}

}  // namespace mtd::sweep
