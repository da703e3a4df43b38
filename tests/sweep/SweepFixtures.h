#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "core/Configuration.h"
#include "core/Simulation.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep::testing {

// The code of a Run with no init.txt.
inline SweepCode defaultCode() {
  auto sim = std::make_unique<Simulation>();
  loadConfigurationText(*sim, std::nullopt);
  return SweepCode(sim->params);
}

inline PointSetup soundPoint(const SweepCode& code, double p, std::uint64_t seed = 1,
                             std::uint32_t point = 0) {
  return {code, NoiseKind::Sound, p, seed, point};
}

inline const std::atomic<bool>& neverCancel() {
  static const std::atomic<bool> flag{false};
  return flag;
}

}  // namespace mtd::sweep::testing
