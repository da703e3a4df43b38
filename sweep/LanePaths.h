#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sweep/BatchTally.h"
#include "sweep/LanePath.h"
#include "sweep/NoisePaths.h"

namespace mtd::sweep {

struct BitSliceJob;
struct RefillJob;
using DecodeChunkFn = BatchTally (*)(const BitSliceJob& job);
using DecodeRefillFn = BatchTally (*)(const RefillJob& job);

// One way of decoding many frames at once, one frame per bit lane. The engine, the tests and
// the benchmarks all loop over the table of them.
struct LanePathEntry {
  LanePath path;
  const char* name;             // as MTD_LANES takes it
  const char* instructionSets;  // what the processor must offer, for messages
  int lanes;                    // frames decoded side by side
  int noiseGroups;              // groups of 64 frames one noise call fills
  DecodeChunkFn decode;         // null where this build has no such path
  DecodeRefillFn decodeRefill;  // the same with lane refill
  bool refills;                 // refill is the faster way on this path
  NoiseGroupsFn noise;          // null likewise
  bool (*processorHas)();       // the processor offers the instruction sets
};

// Widest first, portable last.
std::span<const LanePathEntry> lanePaths();

// Widest resolves to the widest supported path.
const LanePathEntry& lanePath(LanePath path);
bool lanePathSupported(LanePath path);
LanePath widestLanePath();
const char* lanePathName(LanePath path);

// A path named as MTD_LANES names it, or nullopt with `error` saying why it cannot run here
// (unknown name, not built, or the processor lacks its instruction sets).
std::optional<LanePath> parseLanePath(std::string_view name, std::string& error);

}  // namespace mtd::sweep
