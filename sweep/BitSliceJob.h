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

// Up to sixteen groups of frames decoded with lane refill. The drawn noise is cut into slices
// of one lane word: lane l of slice k holds frame k * lanes + l, and a lane whose frame stops
// takes its frame of the next slice.
struct RefillJob {
  const SweepCode* code = nullptr;
  const RunPlan* plan = nullptr;
  // 2 * nbl rows of `groups` words as drawn (out[r * groups + g]); the check rows become
  // syndromes. groups is a multiple of the lane word's.
  std::uint64_t* noise = nullptr;
  int groups = 0;
  std::uint64_t* rows = nullptr;        // 2 * nbl lane words, overwritten
  std::uint64_t* difference = nullptr;  // nbl lane words, overwritten
  int frames = 0;                       // frames 0..frames-1 of the slices are decoded
  FrameOutcome* perFrame = nullptr;     // optional: the outcome of every frame
};

// Entry points of the lane widths, compiled for their instruction sets; the vector ones exist
// only in builds with the vector paths and are reached through the lane-path table.
BatchTally decodeChunkPortable(const BitSliceJob& job);  // 64 lanes
BatchTally decodeChunkAvx2(const BitSliceJob& job);      // 256 lanes
BatchTally decodeChunkAvx512(const BitSliceJob& job);    // 512 lanes
BatchTally decodeRefillPortable(const RefillJob& job);
BatchTally decodeRefillAvx2(const RefillJob& job);
BatchTally decodeRefillAvx512(const RefillJob& job);

}  // namespace mtd::sweep
