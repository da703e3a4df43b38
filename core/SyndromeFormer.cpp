#include "core/CodeTaps.h"
#include "core/DecoderRules.h"
#include "core/Passes.h"

namespace mtd {

void formSyndrome(Simulation& sim, AnimationHooks* hooks) {
  SimParams& p = sim.params;
  BlockState& rows = sim.rows;
  const std::int32_t nbl = p.nbl;
  // The syndrome is the check errors plus every information error carried through the taps;
  // flips are applied one at a time, so two taps meeting at one position cancel.
  for (std::int32_t i = 0; i < nbl; ++i) {
    if (rows.infoErrors[i] == 0) continue;
    for (std::int32_t j = 1; j <= codeTapCount(p); ++j) {
      rows.syndrome[tapPosition(i, p.kfp[j], nbl)] ^= 1;
    }
  }
  p.decodeCursor = rules::decodeCursor(nbl);
  sim.blockTally.weights[SLOT_START_WEIGHT] += countOnes(rows.syndrome.data(), nbl);
  if (hooks == nullptr) return;
  for (std::int32_t k = 0; k < sim.params.nbl; ++k) {
    hooks->repaintCell(k, ROW_SYNDROME);
    if (hooks->stepCheck()) return;
  }
}

}  // namespace mtd
