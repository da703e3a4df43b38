#include "sweep/PointSetup.h"

#include <algorithm>
#include <bit>

#include "core/DecoderRules.h"

namespace mtd::sweep {

SweepCode::SweepCode(const SimParams& loaded) : params(loaded) {
  params.decodeCursor = rules::decodeCursor(params.nbl);
}

std::int32_t SweepCode::firstPosition() const { return rules::firstExaminedPosition(params.nbl); }

std::int32_t demoNoiseThreshold(double p) {
  const double scaled = static_cast<double>(static_cast<float>(p)) * rules::NOISE_THRESHOLD_SCALE;
  // p lies in [0, 1] here, so the scaled value is within the 32-bit range.
  return static_cast<std::int32_t>(std::clamp(scaled, -1.0e9, 1.0e9));
}

std::uint32_t noiseKey(double p) { return std::bit_cast<std::uint32_t>(static_cast<float>(p)); }

double effectiveP(const PointSetup& setup) {
  if (setup.noise == NoiseKind::Sound) return setup.p;
  constexpr std::int32_t SAMPLES = 1024;
  const std::int32_t hits = std::clamp(demoNoiseThreshold(setup.p) + 1, 0, SAMPLES);
  return static_cast<double>(hits) / SAMPLES;
}

}  // namespace mtd::sweep
