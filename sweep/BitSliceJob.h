#pragma once

#include <cstdint>

#include "sweep/BatchTally.h"
#include "sweep/ExactDecoder.h"
#include "sweep/PointSetup.h"
#include "sweep/RunPlan.h"

namespace mtd::sweep {

// One chunk of frames decoded side by side: word r of a row holds position r of every frame,
// `groups` 64-bit words per position, bit l of word i for lane 64 i + l.
struct BitSliceJob {
  const SweepCode* code = nullptr;
  const RunPlan* plan = nullptr;
  // 2 * nbl positions: the information errors (kept as drawn), then the check errors, which
  // become the syndrome.
  std::uint64_t* rows = nullptr;
  std::uint64_t* difference = nullptr;  // nbl positions, overwritten
  int validLanes = 0;                   // lanes 0..validLanes-1 hold frames
  FrameOutcome* perLane = nullptr;      // optional: the outcome of every valid lane
};

// Entry points of the lane widths, compiled for their instruction sets; the vector ones exist
// only in builds with the vector paths and are reached through the lane-path table.
BatchTally decodeChunkPortable(const BitSliceJob& job);  // 64 lanes
BatchTally decodeChunkAvx2(const BitSliceJob& job);      // 256 lanes
BatchTally decodeChunkAvx512(const BitSliceJob& job);    // 512 lanes

}  // namespace mtd::sweep
