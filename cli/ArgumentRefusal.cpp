#include "cli/ArgumentRefusal.h"

#include <algorithm>
#include <cctype>

namespace mtd::cli {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::int64_t wholeNumber(NumberReader read, const std::string& option, const std::string& text,
                         std::int64_t least, std::int64_t most, const std::string& what) {
  const auto value = read(text);
  if (!value || *value < least || *value > most) {
    throw Refusal(option + " needs " + what + ", not " + quoted(text));
  }
  return *value;
}

}  // namespace mtd::cli
