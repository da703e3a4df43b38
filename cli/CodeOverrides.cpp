#include "cli/CodeOverrides.h"

#include <array>
#include <sstream>

#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

// The names in the order of init.txt's lines; the ninth is "check".
constexpr std::array<const char*, 8> LINE_NAMES = {"nbl", "kst",  "p",        "ndn",
                                                   "kfp", "ktrh", "maxBlock", "ddn"};
constexpr std::size_t CHECK_LINE = LINE_NAMES.size();

template <std::size_t N>
std::string list(const std::array<std::int32_t, N>& values) {
  std::string text = "{";
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(values[i]);
  }
  return text + "}";
}

}  // namespace

std::optional<CodeOverride> parseCodeOverride(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals + 1 >= text.size()) return std::nullopt;
  const std::string name = text.substr(0, equals);
  std::string value = text.substr(equals + 1);
  // The ndn line holds a word after the number, which the file's readers skip.
  if (name == "ndn" && value.find(' ') == std::string::npos) value += " word";
  for (const char* known : LINE_NAMES) {
    if (name == known) return CodeOverride{name, value};
  }
  return std::nullopt;
}

std::string configurationText(const SimParams& params) {
  return format(
      "nbl=%d\nkst=%d\np=%.7g\nndn=%d word\nkfp=%s\nktrh=%s\nmaxBlock=%d\nddn=%d\ncheck\n",
      params.nbl, params.kst, static_cast<double>(params.p), params.ndn, list(params.kfp).c_str(),
      list(params.ktrh).c_str(), params.maxBlock, params.kfp[0]);
}

std::string overriddenText(const std::string& fileText,
                           const std::vector<CodeOverride>& overrides) {
  std::vector<std::string> lines;
  std::istringstream in(fileText);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (lines.size() <= CHECK_LINE) lines.resize(CHECK_LINE + 1);
  lines[CHECK_LINE] = "check";
  for (const CodeOverride& o : overrides) {
    for (std::size_t i = 0; i < LINE_NAMES.size(); ++i) {
      if (o.name == LINE_NAMES[i]) lines[i] = o.text();
    }
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace mtd::cli
