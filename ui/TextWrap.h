#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mtd {

// The width in pixels of a text in the font that will draw it.
using TextWidth = std::function<int(std::string_view)>;

// Breaks the text into at most maxLines lines no wider than maxWidth, at spaces where a word
// fits and inside a word where none does. What does not fit in the last line is cut, and "..."
// ends that line to say so.
std::vector<std::string> wrapText(std::string_view text, int maxWidth, int maxLines,
                                  const TextWidth& width);

}  // namespace mtd
