#include "cli/sweep/FrameSpread.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "sweep/ExactDecoder.h"
#include "sweep/NoiseBatch.h"
#include "sweep/Workspace.h"

namespace mtd::cli {

double frameErrorSquares(const sweep::PointSetup& setup, std::int64_t frames) {
  const std::int32_t nbl = setup.code.nbl();
  auto scratch = std::make_unique<Simulation>();
  auto workspace = std::make_unique<sweep::Workspace>();
  std::vector<std::uint64_t> words(2 * static_cast<std::size_t>(nbl));
  std::vector<Bit> info(static_cast<std::size_t>(nbl));
  std::vector<Bit> check(info.size());
  double squares = 0;
  for (std::int64_t group = 0; group * sweep::GROUP_FRAMES < frames; ++group) {
    sweep::drawNoiseGroups(setup, group, 1, frames, *workspace, words.data());
    const std::int64_t end = std::min(frames, (group + 1) * sweep::GROUP_FRAMES);
    for (std::int64_t frame = group * sweep::GROUP_FRAMES; frame < end; ++frame) {
      const int lane = static_cast<int>(frame % sweep::GROUP_FRAMES);
      for (std::int32_t i = 0; i < nbl; ++i) {
        info[i] = static_cast<Bit>((words[i] >> lane) & 1);
        check[i] = static_cast<Bit>((words[nbl + i] >> lane) & 1);
      }
      const auto errors = static_cast<double>(
          sweep::decodeFrameExact(*scratch, setup.code, info.data(), check.data()).infoErrorsLeft);
      squares += errors * errors;
    }
  }
  return squares;
}

}  // namespace mtd::cli
