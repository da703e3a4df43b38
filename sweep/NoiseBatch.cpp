#include "sweep/NoiseBatch.h"

#include <algorithm>

#include "sweep/SoundNoise.h"

namespace mtd::sweep {

void drawNoiseGroups(const PointSetup& setup, std::int64_t firstGroup, int groups,
                     std::int64_t frameLimit, Workspace& workspace, std::uint64_t* out) {
  const std::int32_t positions = 2 * setup.code.nbl();
  if (setup.noise == NoiseKind::Sound) {
    SoundNoise(setup.seed, setup.pointIndex, setup.p)
        .fill(setup.lanes, firstGroup, groups, positions, out);
  } else {
    const DemoNoise& demo = workspace.demoNoise(setup.code);
    const std::int32_t threshold = demoNoiseThreshold(setup.p);
    for (int i = 0; i < groups; ++i) {
      const std::int64_t first = (firstGroup + i) * GROUP_FRAMES;
      const auto lanes = static_cast<int>(std::clamp<std::int64_t>(frameLimit - first, 0, 64));
      demo.fill(threshold, first, lanes, out + i, groups);
    }
  }
  // Lanes past the limit carry no frame: clear them so they decode nothing.
  for (int i = 0; i < groups; ++i) {
    const std::int64_t first = (firstGroup + i) * GROUP_FRAMES;
    const std::int64_t lanes = std::clamp<std::int64_t>(frameLimit - first, 0, 64);
    if (lanes == 64) continue;
    const std::uint64_t keep = lanes == 0 ? 0 : ~std::uint64_t{0} >> (64 - lanes);
    for (std::int32_t r = 0; r < positions; ++r) out[std::size_t(r) * groups + i] &= keep;
  }
}

}  // namespace mtd::sweep
