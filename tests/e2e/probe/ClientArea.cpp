#include "ClientArea.h"

#include <charconv>

namespace mtd::e2e {

namespace {

constexpr int SAMPLE_COLUMNS = 7;
constexpr int BLACK_LINES_NEEDED = 3;  // so that no dark line of the menu bar is taken for it

// The open File menu drops down over the left of the client area, as wide as its longest
// item: the columns sampled leave the left third out.
constexpr int FIRST_SAMPLE_COLUMN = 3;

bool blackAcross(const Screenshot& shot, int y) {
  for (int i = FIRST_SAMPLE_COLUMN; i <= SAMPLE_COLUMNS; ++i) {
    const int x = shot.width() * i / (SAMPLE_COLUMNS + 1);
    if (shot.pixel(x, y) != Rgb{}) return false;
  }
  return true;
}

// A decimal number after `separator` (none for the first); advances `text` past both.
bool takeNumber(std::string_view& text, char separator, int& value) {
  if (separator != '\0') {
    if (text.empty() || text.front() != separator) return false;
    text.remove_prefix(1);
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

}  // namespace

std::optional<ClientArea> parseClientGeometry(std::string_view text) {
  ClientArea area;
  if (!takeNumber(text, '\0', area.width) || !takeNumber(text, 'x', area.height) ||
      !takeNumber(text, '+', area.x) || !takeNumber(text, '+', area.y) || !text.empty()) {
    return std::nullopt;
  }
  if (area.width <= 0 || area.height <= 0) return std::nullopt;
  return area;
}

std::optional<ClientArea> findMaximisedClientArea(const Screenshot& shot) {
  // The caption and the menu bar take well under a quarter of any screen.
  for (int y = 1; y < shot.height() / 4; ++y) {
    if (blackAcross(shot, y - 1)) continue;
    bool black = true;
    for (int line = 0; line < BLACK_LINES_NEEDED && black; ++line) {
      black = blackAcross(shot, y + line);
    }
    if (black) return ClientArea{0, y, shot.width(), shot.height() - y};
  }
  return std::nullopt;
}

}  // namespace mtd::e2e
