#pragma once

#include <cstdint>

namespace mtd::sweep {

// The lane widths of the bit-sliced engine. Every path gives the same counts, noise included;
// Widest stands for the widest path this processor runs.
enum class LanePath : std::int32_t { Widest = -1, Portable = 0, Avx2 = 1, Avx512 = 2 };

}  // namespace mtd::sweep
