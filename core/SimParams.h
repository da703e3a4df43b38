#pragma once

#include <array>
#include <cstdint>

#include "core/Limits.h"

namespace mtd {

// The configuration of a run and the values derived from it. Only the loader writes it,
// decodeCursor aside.
struct SimParams {
  std::int32_t nbl = 0;  // block length K
  std::int32_t kst = 0;  // generator seed, shown as RAND
  float p = 0.0f;        // channel bit-error probability, single precision on purpose
  std::int32_t ndn = 0;  // checks per information bit (code taps + the difference bit)
  std::array<std::int32_t, KFP_SIZE> kfp{};    // kfp[0] = ddn, then tap offsets
  std::array<std::int32_t, KTRH_SIZE> ktrh{};  // ktrh[0] = iterations, then threshold offsets
  std::int32_t maxBlock = 2000;                // trial blocks per run

  std::int32_t noiseThreshold = 0;
  std::int32_t stepsPerBit = 0;
  std::int32_t codeDistance = 0;
  std::int32_t decodeCursor = 0;
};

inline constexpr std::array<std::int32_t, KFP_SIZE> DEFAULT_KFP = {
    22,  0,   24,  75,  110, 151, 183, 257, 411, 426, 496, 522, 543, 579, 648, 689,
    714, 733, 789, 796, 814, 824, 856, 899, 922, 0,   0,   0,   0,   0,   0,   0};
inline constexpr std::array<std::int32_t, KTRH_SIZE> DEFAULT_KTRH = {10, 2, 1};

}  // namespace mtd
