#pragma once

#include <cstdint>

#include "core/BlockState.h"
#include "ui/Brush.h"

namespace mtd {

// What a cell shows of the block's rows at one position. Positions outside the rows' capacity
// read as zero bits.

// Red where the information bit is wrong now, cyan where it is right.
Brush informationColour(const BlockState& rows, std::int32_t position);
// Yellow for a satisfied check; teal for an unsatisfied one whose own check bit was hit by
// noise; red for an unsatisfied one with a clean check bit.
Brush syndromeColour(const BlockState& rows, std::int32_t position);
// Teal for a bit the decoder left alone; white for a flipped bit that is right now; green for
// a flipped bit that is wrong now.
Brush differenceColour(const BlockState& rows, std::int32_t position);

// The rule of a row (ROW_DIFFERENCE, ROW_INFORMATION or ROW_SYNDROME).
Brush rowColour(const BlockState& rows, std::int32_t position, int row);

}  // namespace mtd
