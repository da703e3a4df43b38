#include "cli/NumberText.h"

#include <charconv>
#include <cmath>

namespace mtd::cli {

namespace {

// from_chars takes a leading minus but not a plus; a user may write either.
std::string_view withoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') return text.substr(1);
  return text;
}

}  // namespace

std::optional<std::int64_t> parseWholeNumber(std::string_view text) {
  const std::string_view digits = withoutPlus(text);
  std::int64_t value = 0;
  const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || status != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> parseDecimal(std::string_view text) {
  const std::string_view digits = withoutPlus(text);
  double value = 0;
  const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || status != std::errc() || end != digits.data() + digits.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace mtd::cli
