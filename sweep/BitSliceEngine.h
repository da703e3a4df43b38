#pragma once

#include <cstdint>
#include <memory>

#include "sweep/BatchTally.h"
#include "sweep/ExactDecoder.h"
#include "sweep/LanePaths.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

class Workspace;
struct RunPlan;

// Draws and decodes frames many at a time, one frame per bit lane, on the lane path the setup
// names (the widest supported one where that path is not supported here).
class BitSliceEngine {
 public:
  BitSliceEngine();
  ~BitSliceEngine();
  BitSliceEngine(const BitSliceEngine&) = delete;
  BitSliceEngine& operator=(const BitSliceEngine&) = delete;

  // Frames firstFrame..firstFrame+count-1 of a point (firstFrame a multiple of 64). perFrame,
  // when given, receives the outcome of each frame.
  BatchTally run(const PointSetup& setup, std::int64_t firstFrame, std::int64_t count,
                 Workspace& workspace, FrameOutcome* perFrame = nullptr);

 private:
  struct AlignedFree {
    void operator()(std::uint64_t* p) const;
  };
  std::unique_ptr<std::uint64_t[], AlignedFree> rows_;
  std::unique_ptr<std::uint64_t[], AlignedFree> difference_;
  std::unique_ptr<std::uint64_t[], AlignedFree> noise_;

  BatchTally runRefilling(const PointSetup& setup, const LanePathEntry& path, const RunPlan& plan,
                          std::int64_t firstFrame, std::int64_t count, Workspace& workspace,
                          FrameOutcome* perFrame);

  // Groups firstGroup.. of the drawn noise (drawnGroups to a position) into the chunk's rows.
  void copyChunk(int drawnGroups, int firstGroup, int chunkGroups, std::size_t positions);
};

}  // namespace mtd::sweep
