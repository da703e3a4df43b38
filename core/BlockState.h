#pragma once

#include <array>
#include <cstdint>

#include "core/Limits.h"

namespace mtd {

using Bit = std::uint8_t;  // every row entry is 0 or 1; bytes keep the rows compact

// Bytes after a row's last position that the silent passes may read: they read whole chunks,
// and a chunk can start at the last position.
inline constexpr int ROW_PADDING = 64;
// Room after the syndrome row: the silent decoder mirrors positions 0..nbl-1 at nbl..2nbl-1 so
// that a position plus a tap needs no wrap.
inline constexpr int SYNDROME_MIRROR_ROOM = BLOCK_CAPACITY + ROW_PADDING;

// The four rows of the block in hand, used at positions 0..nbl-1.
struct BlockState {
  std::array<Bit, BLOCK_CAPACITY + ROW_PADDING> infoErrors{};
  std::array<Bit, BLOCK_CAPACITY + SYNDROME_MIRROR_ROOM> syndrome{};
  std::array<Bit, BLOCK_CAPACITY + ROW_PADDING> difference{};
  std::array<Bit, BLOCK_CAPACITY> checkErrors{};
};

}  // namespace mtd
