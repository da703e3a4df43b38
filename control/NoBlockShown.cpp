#include "control/NoBlockShown.h"

namespace mtd {

std::string noBlockShownMessage(std::int32_t trialsDone) {
  if (trialsDone <= 0) return "NO BLOCK SHOWN: THE RUN HAS NO TRIAL BLOCKS (maxBlock IS 0).";
  return "NO BLOCK SHOWN: NONE OF THE " + std::to_string(trialsDone) +
         " TRIAL BLOCKS MET THE SELECTION RULE. FILE > SHOW EVERY BLOCK SHOWS THEM ALL.";
}

}  // namespace mtd
