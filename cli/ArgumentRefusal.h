#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace mtd::cli {

// An argument the command line refuses. The message names the argument and what it needs, and
// is shown to the user as it stands.
class Refusal {
 public:
  explicit Refusal(std::string message) : message(std::move(message)) {}
  std::string message;
};

// The argument as the user typed it, in quotes, so that an empty or spaced one shows.
std::string quoted(const std::string& text);

// ASCII lower case: names of formats and parts are taken in any case.
std::string lowered(std::string text);

// Reads a number the way an option takes it: the record options take digits only, the sweep
// also takes exact scientific notation (1e6).
using NumberReader = std::optional<std::int64_t> (*)(std::string_view);

// The option's number from least to most, read by `read`; otherwise a Refusal
// "<option> needs <what>, not '<text>'".
std::int64_t wholeNumber(NumberReader read, const std::string& option, const std::string& text,
                         std::int64_t least, std::int64_t most, const std::string& what);

}  // namespace mtd::cli
