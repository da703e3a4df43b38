#pragma once

#include <cstdint>

#include "core/SimParams.h"
#include "sweep/LanePath.h"

namespace mtd::sweep {

enum class NoiseKind { Sound, Demo };

// Whether lanes whose frames stop take fresh ones (see BitSliceRefill.h); counts never depend
// on it. PathDefault refills on the paths where it was measured faster.
enum class LaneRefill { PathDefault, Always, Never };

// What a sweep needs from a loaded configuration: the derived parameters exactly as a Run holds
// them after loading (ndn capped, stepsPerBit formed, the decode cursor at its start).
struct SweepCode {
  SimParams params;

  SweepCode() = default;
  explicit SweepCode(const SimParams& loaded);

  std::int32_t nbl() const { return params.nbl; }
  // kfp[1..ndn-1], the checks each information bit enters.
  std::int32_t tapCount() const { return params.ndn > 1 ? params.ndn - 1 : 0; }
  std::int32_t tap(std::int32_t j) const { return params.kfp[j + 1]; }
  std::int32_t iterations() const { return params.ktrh[0]; }
  // The first position every sweep examines: one after the cursor the syndrome former sets.
  std::int32_t firstPosition() const;
};

struct PointSetup {
  SweepCode code;
  NoiseKind noise = NoiseKind::Sound;
  double p = 0.0;
  std::uint64_t seed = 1;
  // Keys the point's noise streams beside the seed: noiseKey(p), so that a point draws the same
  // frames whatever other points the sweep holds.
  std::uint32_t pointIndex = 0;
  LanePath lanes = LanePath::Widest;  // the engine's lane width; counts do not depend on it
  LaneRefill refill = LaneRefill::PathDefault;
};

// The key of a point's noise: the bit pattern of p in single precision, the precision the
// configuration gives p. Equal p give equal frames; different p different streams.
std::uint32_t noiseKey(double p);

// Demo noise draws an error where a 10-bit sample is at most this, as a Run does: p goes
// through single precision and is truncated after scaling by 1000.
std::int32_t demoNoiseThreshold(double p);

// The probability the frames actually see: p for sound noise, the quantised one for demo noise.
double effectiveP(const PointSetup& setup);

}  // namespace mtd::sweep
