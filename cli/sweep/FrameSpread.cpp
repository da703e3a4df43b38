#include "cli/sweep/FrameSpread.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "sweep/BatchTally.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/ExactDecoder.h"
#include "sweep/Workspace.h"

namespace mtd::cli {

double frameErrorSquares(const sweep::PointSetup& setup, std::int64_t frames) {
  auto workspace = std::make_unique<sweep::Workspace>();
  std::vector<sweep::FrameOutcome> outcomes(static_cast<std::size_t>(sweep::BATCH_FRAMES));
  double squares = 0;
  for (std::int64_t first = 0; first < frames; first += sweep::BATCH_FRAMES) {
    const std::int64_t count = std::min(sweep::BATCH_FRAMES, frames - first);
    workspace->engine().run(setup, first, count, *workspace, outcomes.data());
    for (std::int64_t i = 0; i < count; ++i) {
      const auto errors = static_cast<double>(outcomes[static_cast<std::size_t>(i)].infoErrorsLeft);
      squares += errors * errors;
    }
  }
  return squares;
}

}  // namespace mtd::cli
