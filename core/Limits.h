#pragma once

#include <cstdint>

namespace mtd {

// Rows have a fixed capacity so that no pass ever allocates.
inline constexpr std::int32_t BLOCK_CAPACITY = 2200;
inline constexpr int KFP_SIZE = 32;
inline constexpr int KTRH_SIZE = 22;
inline constexpr int TALLY_SLOTS = 13;
// Per-iteration tally slots 3..12 give room for this many decoder iterations.
inline constexpr std::int32_t MAX_ITERATIONS = 10;
// The loader's line buffer is 200 bytes: 199 characters and the terminator.
inline constexpr int LINE_BUFFER_SIZE = 200;
inline constexpr std::int32_t MAX_NDN_USED = 11;

}  // namespace mtd
