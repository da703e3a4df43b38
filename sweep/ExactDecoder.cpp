#include "sweep/ExactDecoder.h"

#include "core/Passes.h"

namespace mtd::sweep {

FrameOutcome decodeFrameExact(Simulation& scratch, const SweepCode& code, const Bit* info,
                              const Bit* check) {
  scratch.params = code.params;
  scratch.clearBlockTally();
  BlockState& rows = scratch.rows;
  FrameOutcome outcome;
  for (std::int32_t i = 0; i < code.nbl(); ++i) {
    rows.infoErrors[i] = info[i];
    rows.difference[i] = 0;
    rows.syndrome[i] = check[i];
    rows.checkErrors[i] = check[i];
    outcome.channelInfoErrors += info[i];
  }
  formSyndrome(scratch, nullptr);
  // The decoder records the iteration it stopped at only when its stop rule ends it.
  constexpr std::int32_t NOT_STOPPED = -1;
  scratch.decoder.lastIteration = NOT_STOPPED;
  decodeBlock(scratch, nullptr);
  const std::int32_t iterations = code.iterations();
  if (iterations > 0) {
    const std::int32_t last = scratch.decoder.lastIteration;
    outcome.iterations = last == NOT_STOPPED ? iterations : last + 1;
  }
  outcome.infoErrorsLeft = countOnes(rows.infoErrors.data(), code.nbl());
  return outcome;
}

}  // namespace mtd::sweep
