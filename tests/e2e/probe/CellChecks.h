#pragma once

#include <string>

#include "Picture.h"

namespace mtd::e2e {

// The colours the display paints, written out here rather than taken from the program.
inline constexpr Rgb BLACK{0, 0, 0};
inline constexpr Rgb TEAL{0, 128, 128};
inline constexpr Rgb GREEN{0, 255, 0};
inline constexpr Rgb PURPLE{128, 0, 128};
inline constexpr Rgb CYAN{0, 255, 255};
inline constexpr Rgb RED{255, 0, 0};
inline constexpr Rgb YELLOW{255, 255, 0};
inline constexpr Rgb WHITE{255, 255, 255};

inline constexpr const char* ROW_LABELS[ROW_COUNT] = {"DIFFERENCE", "INFORMATION", "SYNDROME"};
inline constexpr Rgb EMPTY_COLOURS[ROW_COUNT] = {TEAL, GREEN, PURPLE};

// "red", "teal", ... or "#RRGGBB" for a colour the display never paints.
std::string colourName(Rgb colour);

// A cell as drawn: `fill` inside, one black pixel of border on its outer pixels. Empty when it
// is so, else the first wrong pixel.
std::string cellFault(const Picture& picture, std::int32_t position, int row, Rgb fill);

// A row's label: yellow text inside its character cell, centred on the design screen's middle.
// Empty when it is so, else where the text was found.
std::string labelFault(const Picture& picture, int row);

// How many INFORMATION cells from position 0 on are no longer in the empty colour: the noise
// pass paints them in order.
std::int32_t informationFrontier(const Picture& picture);

}  // namespace mtd::e2e
