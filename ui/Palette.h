#pragma once

#include <array>

#include "ui/Brush.h"
#include "ui/DrawingSurface.h"
#include "ui/TextLines.h"

namespace mtd {

// The colour of each brush, in the order the brushes are created.
inline constexpr std::array<Rgb, BRUSH_COUNT> PALETTE = {{
    {0, 255, 0},      // InfoEmpty: green
    {0, 255, 255},    // InfoCorrect: cyan
    {255, 0, 0},      // InfoError: red
    {128, 0, 128},    // SyndromeEmpty: purple
    {255, 255, 0},    // SyndromeZero: yellow
    {0, 128, 128},    // SyndromeCheckError: teal
    {255, 0, 0},      // SyndromeOne: red
    {0, 128, 128},    // DifferenceEmpty: teal
    {0, 128, 128},    // DifferenceZero: teal
    {255, 255, 255},  // DifferenceCorrect: white
    {0, 255, 0},      // DifferenceError: green
    {0, 0, 0},        // CursorMark: black
    {0, 0, 0},        // Clearing: black
}};

constexpr Rgb paletteColour(Brush brush) { return PALETTE[static_cast<int>(brush)]; }

inline constexpr Rgb BLACK{0, 0, 0};
inline constexpr Rgb LABEL_COLOUR{255, 255, 0};  // yellow
inline constexpr Rgb LOAD_MESSAGE_COLOUR{255, 255, 0};

constexpr Rgb textColour(TextColour colour) {
  switch (colour) {
    case TextColour::Green:
      return {0, 255, 0};
    case TextColour::Cyan:
      return {0, 255, 255};
    case TextColour::White:
      return {255, 255, 255};
    case TextColour::Yellow:
      return {255, 255, 0};
  }
  return {255, 255, 255};
}

}  // namespace mtd
