// The reference of the fast engine: the same noise words decoded one frame at a time by core's
// own decoder.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Simulation.h"
#include "sweep/BatchTally.h"
#include "sweep/ExactDecoder.h"
#include "sweep/LanePaths.h"
#include "sweep/PointSetup.h"
#include "sweep/Workspace.h"

namespace mtd::sweep::testing {

class ExactReference {
 public:
  ExactReference() : scratch_(std::make_unique<Simulation>()) {}

  // Frames firstFrame..firstFrame+count-1 (firstFrame a multiple of 64).
  std::vector<FrameOutcome> outcomes(const PointSetup& setup, std::int64_t firstFrame,
                                     std::int64_t count);
  // Batch `batch` clipped to frameLimit, as runBatch counts it.
  BatchTally batch(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit);

  Simulation& scratch() { return *scratch_; }

 private:
  std::unique_ptr<Simulation> scratch_;
  Workspace workspace_;  // demo noise only
};

// The setup on one lane path.
inline PointSetup onPath(PointSetup setup, LanePath path) {
  setup.lanes = path;
  return setup;
}

}  // namespace mtd::sweep::testing
