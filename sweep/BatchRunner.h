#pragma once

#include <cstdint>

#include "sweep/BatchTally.h"
#include "sweep/PointSetup.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

// Batch `batch` of a point: frames [batch * BATCH_FRAMES, (batch + 1) * BATCH_FRAMES) clipped to
// frameLimit. A pure function of its arguments; the workspace only lends buffers.
BatchTally runBatch(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                    Workspace& workspace);

// The same through core's own decoder, one frame at a time: the reference of the fast engine.
BatchTally runBatchExact(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                         Workspace& workspace);

}  // namespace mtd::sweep
