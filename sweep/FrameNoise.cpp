#include "sweep/FrameNoise.h"

#include <vector>

#include "sweep/NoiseBatch.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

void frameNoise(const PointSetup& setup, std::int64_t frame, Bit* info, Bit* check) {
  const std::int32_t nbl = setup.code.nbl();
  Workspace workspace;
  std::vector<std::uint64_t> words(2 * std::size_t(nbl));
  const std::int64_t group = frame / GROUP_FRAMES;
  drawNoiseGroups(setup, group, 1, frame + 1, workspace, words.data());
  const int lane = static_cast<int>(frame % GROUP_FRAMES);
  for (std::int32_t i = 0; i < nbl; ++i) {
    info[i] = static_cast<Bit>((words[i] >> lane) & 1);
    check[i] = static_cast<Bit>((words[nbl + i] >> lane) & 1);
  }
}

}  // namespace mtd::sweep
