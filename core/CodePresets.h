#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/Limits.h"

namespace mtd {

// A code as the settings dialog offers it: the taps and thresholds of one of the example
// configurations in examples/ (a test holds the two together).
struct CodePreset {
  std::string_view name;
  std::string_view example;  // the directory below examples/ ("" for examples/ itself)
  std::int32_t ndn;
  std::int32_t ddn;
  std::string_view taps;        // kfp[1] to kfp[24]
  std::int32_t iterations;      // ktrh[0]
  std::string_view thresholds;  // ktrh[1] to ktrh[11]
};

inline constexpr std::string_view DEFAULT_TAPS =
    "0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,856,899,922";

inline constexpr std::array<CodePreset, 2> CODE_PRESETS = {{
    {"Default code, 10 iterations", "", 11, 22, DEFAULT_TAPS, 10, "2,1,0,0,0,0,0,0,0,0,0"},
    {"Default code, 8 gentler iterations", "long-block", 11, 22, DEFAULT_TAPS, 8,
     "3,2,1,0,0,0,0,0,0,0,0"},
}};

}  // namespace mtd
