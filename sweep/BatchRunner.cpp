#include "sweep/BatchRunner.h"

#include <algorithm>

namespace mtd::sweep {

BatchSpan batchSpan(std::int64_t batch, std::int64_t frameLimit) {
  const std::int64_t first = batch * BATCH_FRAMES;
  return {first, std::clamp<std::int64_t>(frameLimit - first, 0, BATCH_FRAMES)};
}

BatchTally runBatch(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                    Workspace& workspace) {
  const BatchSpan span = batchSpan(batch, frameLimit);
  return workspace.engine().run(setup, span.first, span.count, workspace);
}

}  // namespace mtd::sweep
