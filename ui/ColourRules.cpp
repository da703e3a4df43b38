#include "ui/ColourRules.h"

#include <array>

#include "core/AnimationHooks.h"

namespace mtd {

namespace {

template <std::size_t N>
Bit bitAt(const std::array<Bit, N>& row, std::int32_t position) {
  if (position < 0 || static_cast<std::size_t>(position) >= N) return 0;
  return row[static_cast<std::size_t>(position)];
}

}  // namespace

Brush informationColour(const BlockState& rows, std::int32_t position) {
  return bitAt(rows.infoErrors, position) != 0 ? Brush::InfoError : Brush::InfoCorrect;
}

Brush syndromeColour(const BlockState& rows, std::int32_t position) {
  if (bitAt(rows.syndrome, position) == 0) return Brush::SyndromeZero;
  return bitAt(rows.checkErrors, position) != 0 ? Brush::SyndromeCheckError : Brush::SyndromeOne;
}

Brush differenceColour(const BlockState& rows, std::int32_t position) {
  if (bitAt(rows.difference, position) == 0) return Brush::DifferenceZero;
  return bitAt(rows.infoErrors, position) != 0 ? Brush::DifferenceError : Brush::DifferenceCorrect;
}

Brush rowColour(const BlockState& rows, std::int32_t position, int row) {
  switch (row) {
    case ROW_DIFFERENCE:
      return differenceColour(rows, position);
    case ROW_INFORMATION:
      return informationColour(rows, position);
    default:
      return syndromeColour(rows, position);
  }
}

}  // namespace mtd
