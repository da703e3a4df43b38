#include "CellChecks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace mtd::e2e {

namespace {

// Yellow, or its blend with the black background at the edge of an anti-aliased glyph.
bool labelInk(Rgb colour) { return colour.r >= 128 && colour.g >= 128 && colour.b < 96; }

std::string pointText(int x, int y) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d)", x, y);
  return text;
}

}  // namespace

std::string colourName(Rgb colour) {
  const struct {
    Rgb colour;
    const char* name;
  } known[] = {{BLACK, "black"}, {TEAL, "teal"}, {GREEN, "green"},   {PURPLE, "purple"},
               {CYAN, "cyan"},   {RED, "red"},   {YELLOW, "yellow"}, {WHITE, "white"}};
  for (const auto& entry : known) {
    if (entry.colour == colour) return entry.name;
  }
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
  return text;
}

std::string cellFault(const Picture& picture, std::int32_t position, int row, Rgb fill) {
  const CellRect r = picture.cell(position, row);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (!picture.inClient(x, y))
        return "pixel " + pointText(x, y) + " is outside the client area";
      const bool border = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
      const Rgb want = border ? BLACK : fill;
      const Rgb got = picture.pixel(x, y);
      if (got != want) {
        return "pixel " + pointText(x, y) + " is " + colourName(got) + ", not " + colourName(want);
      }
    }
  }
  return {};
}

std::string labelFault(const Picture& picture, int row) {
  const int top = labelY(picture.grid, picture.scale, row);
  const int fontHeight = fontHeights(picture.scale).small;
  const int middle = scaleX(picture.scale, DESIGN_WIDTH / 2);
  // A font height above and below the label's cell, and on to the row's first cells, so that
  // misplaced text is reported, not missed.
  const int scanTop = top - fontHeight;
  const int scanBottom = std::max(top + 2 * fontHeight, picture.cell(0, row).top);
  int left = picture.client.width, right = -1, highest = picture.client.height, lowest = -1;
  for (int y = scanTop; y < scanBottom; ++y) {
    for (int x = 0; x < picture.client.width; ++x) {
      if (!picture.inClient(x, y) || !labelInk(picture.pixel(x, y))) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      highest = std::min(highest, y);
      lowest = std::max(lowest, y);
    }
  }
  const std::string label = ROW_LABELS[row];
  if (right < 0) return label + ": no text near y " + std::to_string(top);
  // Glyph side bearings shift the inked box a little against the measured text, so its centre
  // may lie up to two pixels off; a label narrower than three characters' height is a stray
  // mark, not the word.
  const int centreTwice = left + right + 1;
  if (highest < top || lowest >= top + fontHeight || std::abs(centreTwice - 2 * middle) > 4 ||
      right - left < 3 * fontHeight) {
    return label + ": text at x " + std::to_string(left) + ".." + std::to_string(right) + ", y " +
           std::to_string(highest) + ".." + std::to_string(lowest) + "; expected centred on x " +
           std::to_string(middle) + " within y " + std::to_string(top) + ".." +
           std::to_string(top + fontHeight - 1);
  }
  return {};
}

std::int32_t informationFrontier(const Picture& picture) {
  std::int32_t count = 0;
  while (count < picture.blockLength &&
         picture.centre(count, ROW_INFORMATION) != EMPTY_COLOURS[ROW_INFORMATION]) {
    ++count;
  }
  return count;
}

}  // namespace mtd::e2e
