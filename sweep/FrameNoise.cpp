#include "sweep/FrameNoise.h"

#include <algorithm>
#include <vector>

#include "sweep/BatchTally.h"
#include "sweep/NoiseBatch.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

void frameNoise(const PointSetup& setup, std::int64_t frame, Bit* info, Bit* check) {
  const std::int32_t nbl = setup.code.nbl();
  Workspace workspace;
  std::vector<std::uint64_t> words(2 * std::size_t(nbl));
  const std::int64_t group = frame / GROUP_FRAMES;
  // Frames lie below MAX_FRAMES, so the end after this frame is in range.
  const std::int64_t end = std::clamp<std::int64_t>(frame, 0, MAX_FRAMES - 1) + 1;
  drawNoiseGroups(setup, group, 1, end, workspace, words.data());
  const int lane = static_cast<int>(frame % GROUP_FRAMES);
  for (std::int32_t i = 0; i < nbl; ++i) {
    info[i] = static_cast<Bit>((words[i] >> lane) & 1);
    check[i] = static_cast<Bit>((words[nbl + i] >> lane) & 1);
  }
}

}  // namespace mtd::sweep
