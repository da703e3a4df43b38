#pragma once

#include <cstdint>

#include "core/BlockState.h"
#include "core/ErrorTally.h"
#include "core/NoiseGenerator.h"
#include "core/NoiseJump.h"
#include "core/SimParams.h"

namespace mtd {

// Results of the decoder that outlive one call.
struct DecoderState {
  std::int32_t currentDistance = 0;
  std::int32_t lastIteration = 0;  // never reset: survives from decoding to decoding
  std::int32_t finalInfoErrors = 0;
  std::int32_t finalSyndromeWeight = 0;
};

// All state of the simulation core, one object per program.
struct Simulation {
  SimParams params;
  BlockState rows;
  NoiseGenerator generator;
  ErrorTally blockTally;
  ErrorTally totalTally;  // every block whose animated decoding ran to its end; never cleared
  DecoderState decoder;
  NoiseJump noiseJump;  // a cache of the silent passes, rebuilt when stepsPerBit changes

  void clearBlockTally() { clearTally(blockTally); }
  void addBlockToTotals() { addTally(totalTally, blockTally); }
};

}  // namespace mtd
