#pragma once

#include <cstdio>
#include <string>

namespace mtd {

// printf-style formatting of one text line into a string of any length.
template <typename... Args>
std::string format(const char* pattern, Args... args) {
  const int length = std::snprintf(nullptr, 0, pattern, args...);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, args...);
  text.pop_back();
  return text;
}

}  // namespace mtd
