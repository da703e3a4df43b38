#include "cli/record/RecordPhase.h"

namespace mtd::cli::record {

std::optional<Phase> phaseNamed(std::string_view name) {
  for (int i = 0; i < PHASE_COUNT; ++i) {
    if (PHASE_NAMES[i] == name) return static_cast<Phase>(i);
  }
  return std::nullopt;
}

std::int64_t animatedFrames(std::int64_t steps, std::int64_t stepsPerFrame) {
  if (steps <= 0 || stepsPerFrame <= 0) return 0;
  const std::int64_t onGrid = (steps - 1) / stepsPerFrame + 1;
  return (steps - 1) % stepsPerFrame == 0 ? onGrid : onGrid + 1;
}

std::int64_t waitFrames(int milliseconds, int fps) {
  if (milliseconds <= 0 || fps <= 0) return 0;
  return (std::int64_t{milliseconds} * fps + 500) / 1000;
}

}  // namespace mtd::cli::record
