#include "ui/TextWrap.h"

#include <algorithm>

namespace mtd {

namespace {

constexpr std::string_view ELLIPSIS = "...";

std::string_view trimLeft(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view trimRight(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// The length of the longest start of the text that fits, ending before a space; 0 when even
// the first word is too wide.
std::size_t wordsThatFit(std::string_view text, int maxWidth, const TextWidth& width) {
  std::size_t fits = 0;
  for (std::size_t from = 0;;) {
    const std::size_t space = text.find(' ', from);
    const std::size_t end = space == std::string_view::npos ? text.size() : space;
    if (width(text.substr(0, end)) > maxWidth) break;
    fits = end;
    if (end == text.size()) break;
    from = end + 1;
  }
  return fits;
}

// The length of the longest start of the text that fits with the suffix after it.
std::size_t charactersThatFit(std::string_view text, std::string_view suffix, int maxWidth,
                              const TextWidth& width) {
  std::size_t fits = 0;
  while (fits < text.size() &&
         width(std::string(text.substr(0, fits + 1)) + std::string(suffix)) <= maxWidth) {
    ++fits;
  }
  return fits;
}

std::string lastLine(std::string_view rest, int maxWidth, const TextWidth& width) {
  if (width(rest) <= maxWidth) return std::string(rest);
  const std::size_t kept = charactersThatFit(rest, ELLIPSIS, maxWidth, width);
  return std::string(trimRight(rest.substr(0, kept))) + std::string(ELLIPSIS);
}

}  // namespace

std::vector<std::string> wrapText(std::string_view text, int maxWidth, int maxLines,
                                  const TextWidth& width) {
  std::vector<std::string> lines;
  std::string_view rest = trimLeft(text);
  while (!rest.empty() && static_cast<int>(lines.size()) < maxLines) {
    if (static_cast<int>(lines.size()) + 1 == maxLines) {
      lines.push_back(lastLine(rest, maxWidth, width));
      break;
    }
    std::size_t length = wordsThatFit(rest, maxWidth, width);
    if (length == 0)
      length = std::max<std::size_t>(1, charactersThatFit(rest, "", maxWidth, width));
    lines.emplace_back(trimRight(rest.substr(0, length)));
    rest = trimLeft(rest.substr(length));
  }
  return lines;
}

}  // namespace mtd
