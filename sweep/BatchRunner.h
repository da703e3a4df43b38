#pragma once

#include <cstdint>

#include "sweep/BatchTally.h"
#include "sweep/PointSetup.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

// The frames of batch `batch` of a point: [batch * BATCH_FRAMES, (batch + 1) * BATCH_FRAMES)
// clipped to frameLimit.
struct BatchSpan {
  std::int64_t first = 0;
  std::int64_t count = 0;
};
BatchSpan batchSpan(std::int64_t batch, std::int64_t frameLimit);

// Batch `batch` of a point. A pure function of its arguments; the workspace only lends buffers.
BatchTally runBatch(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                    Workspace& workspace);

}  // namespace mtd::sweep
