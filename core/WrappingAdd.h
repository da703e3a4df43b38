#pragma once

#include <cstdint>

namespace mtd {

// Counters that nothing resets for millions of blocks wrap in two's complement instead of
// invoking undefined behaviour on overflow.
inline std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace mtd
