// The decoder's rules as named numbers, shared by core's decoder and the error-rate engine's
// bit-sliced kernels. Constants and constexpr arithmetic only: the kernels are compiled for
// several instruction sets and must not pull in out-of-line code.
#pragma once

#include <cstdint>

namespace mtd::rules {

// Iteration k flips a bit whose sum S exceeds ktrh[k + 1] + THRESHOLD_BASE. The base does not
// follow ndn.
inline constexpr std::int64_t THRESHOLD_BASE = 5;

// From this iteration on (counted from 0), the decoder also stops when an iteration leaves as
// many information errors as the one before.
inline constexpr std::int32_t FIRST_NO_CHANGE_ITERATION = 3;

// The syndrome former leaves the decode cursor at nbl / CURSOR_DIVISOR + CURSOR_OFFSET; every
// sweep starts at the position after it.
inline constexpr std::int32_t CURSOR_DIVISOR = 33;
inline constexpr std::int32_t CURSOR_OFFSET = 1;

// The noise threshold is the single-precision p times this, truncated toward zero.
inline constexpr double NOISE_THRESHOLD_SCALE = 1000.0;

constexpr std::int32_t decodeCursor(std::int32_t nbl) {
  return nbl / CURSOR_DIVISOR + CURSOR_OFFSET;
}

// The first position a sweep examines: one after the cursor, wrapping to 0 at nbl.
constexpr std::int32_t firstExaminedPosition(std::int32_t nbl) {
  const std::int32_t first = decodeCursor(nbl) + 1;
  return first >= nbl ? 0 : first;
}

static_assert(decodeCursor(1000) == 31 && firstExaminedPosition(1000) == 32);
static_assert(firstExaminedPosition(1) == 0 && firstExaminedPosition(2) == 0);
static_assert(firstExaminedPosition(3) == 2);

}  // namespace mtd::rules
