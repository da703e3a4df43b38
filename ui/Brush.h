#pragma once

namespace mtd {

// The palette, one brush per role, in the order the brushes are created.
enum class Brush {
  InfoEmpty,           // green
  InfoCorrect,         // cyan
  InfoError,           // red
  SyndromeEmpty,       // purple
  SyndromeZero,        // yellow
  SyndromeCheckError,  // teal
  SyndromeOne,         // red
  DifferenceEmpty,     // teal
  DifferenceZero,      // teal
  DifferenceCorrect,   // white
  DifferenceError,     // green
  CursorMark,          // black
  Clearing,            // black
};
inline constexpr int BRUSH_COUNT = 13;

}  // namespace mtd
