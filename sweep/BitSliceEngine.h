#pragma once

#include <cstdint>
#include <memory>

#include "sweep/BatchTally.h"
#include "sweep/ExactDecoder.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

class Workspace;

// Lane widths of the bit-sliced decoder. Every path gives the same results, noise included.
enum class LanePath { Portable, Avx2 };

// The widest path this processor runs.
LanePath bestLanePath();
bool lanePathSupported(LanePath path);
int lanesOf(LanePath path);
const char* lanePathName(LanePath path);

// Draws and decodes frames many at a time, one frame per bit lane.
class BitSliceEngine {
 public:
  explicit BitSliceEngine(LanePath path);
  ~BitSliceEngine();
  BitSliceEngine(const BitSliceEngine&) = delete;
  BitSliceEngine& operator=(const BitSliceEngine&) = delete;

  LanePath path() const { return path_; }

  // Frames firstFrame..firstFrame+count-1 of a point (firstFrame a multiple of 64). perFrame,
  // when given, receives the outcome of each frame.
  BatchTally run(const PointSetup& setup, std::int64_t firstFrame, std::int64_t count,
                 Workspace& workspace, FrameOutcome* perFrame = nullptr);

 private:
  struct AlignedFree {
    void operator()(std::uint64_t* p) const;
  };
  LanePath path_;
  std::unique_ptr<std::uint64_t[], AlignedFree> rows_;
  std::unique_ptr<std::uint64_t[], AlignedFree> difference_;
};

}  // namespace mtd::sweep
