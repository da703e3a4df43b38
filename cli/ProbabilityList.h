#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mtd::cli {

// The most points one --p list may name; a longer sweep is surely a typing error in a step.
inline constexpr std::size_t MAX_SWEEP_POINTS = 10000;

// The channel error probabilities of a --p list: comma-separated values and ranges
// FROM:TO:STEP, in the order written. A range includes both ends; its points are FROM + i*STEP
// rounded to 15 significant digits, so that 0.02:0.08:0.01 gives 0.02, 0.03, ... 0.08 and each
// is the double nearest its decimal. Every value lies in [0, 1].
// Either the values, or a message saying which item is wrong and why.
std::variant<std::vector<double>, std::string> parseProbabilityList(std::string_view text);

}  // namespace mtd::cli
