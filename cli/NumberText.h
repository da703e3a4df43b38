#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mtd::cli {

// A whole decimal number, optionally signed, and nothing else: no spaces, no base prefix, no
// exponent. Leading zeros stay decimal.
std::optional<std::int64_t> parseWholeNumber(std::string_view text);

// A whole decimal number from 0 to 2^64 - 1, in digits only.
std::optional<std::uint64_t> parseUnsigned(std::string_view text);

// A finite decimal number in fixed or scientific notation, optionally signed; not nan or inf.
std::optional<double> parseDecimal(std::string_view text);

}  // namespace mtd::cli
