#include "cli/ProbabilityList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/NumberText.h"
#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

using Items = std::vector<double>;

// Collects the points, or the first reason for refusing the list.
class ListReader {
 public:
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  Items& values() { return values_; }

  void readItem(std::string_view item) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
      const std::size_t colon = item.find(':', start);
      parts.push_back(item.substr(start, colon - start));
      if (colon == std::string_view::npos) break;
      start = colon + 1;
    }
    if (parts.size() == 1) {
      if (const auto p = probability(item, parts[0])) add(*p);
    } else if (parts.size() == 3) {
      readRange(item, parts);
    } else {
      fail(item, "is neither a value nor a range FROM:TO:STEP");
    }
  }

 private:
  void readRange(std::string_view item, const std::vector<std::string_view>& parts) {
    const auto from = probability(item, parts[0]);
    if (!from) return;
    const auto to = probability(item, parts[1]);
    if (!to) return;
    const auto step = parseDecimal(parts[2]);
    if (!step) return fail(item, "has a step '" + std::string(parts[2]) + "' that is not a number");
    if (*step <= 0) return fail(item, "needs a step above 0");
    if (*to < *from) return fail(item, "is a reversed range: FROM is above TO");
    // A quotient a hair below a whole number is that whole number: 0.06/0.01 is 5.999...
    const double quotient = (*to - *from) / *step;
    const double steps = std::floor(quotient + 1e-9 * std::max(1.0, quotient));
    if (steps + 1 + static_cast<double>(values_.size()) > static_cast<double>(MAX_SWEEP_POINTS)) {
      return fail(item, "gives more than " + std::to_string(MAX_SWEEP_POINTS) + " points");
    }
    for (double i = 0; i <= steps; ++i) add(std::min(*to, roundedDecimal(*from + i * *step)));
  }

  std::optional<double> probability(std::string_view item, std::string_view text) {
    const auto value = parseDecimal(text);
    if (!value) {
      fail(item, text == item ? "is not a number"
                              : "has '" + std::string(text) + "', which is not a number");
      return std::nullopt;
    }
    if (*value < 0 || *value > 1) {
      fail(item, "lies outside [0, 1]: a probability is from 0 to 1");
      return std::nullopt;
    }
    return value;
  }

  void add(double p) {
    if (values_.size() >= MAX_SWEEP_POINTS) {
      return fail("", "names more than " + std::to_string(MAX_SWEEP_POINTS) + " points");
    }
    values_.push_back(p);
  }

  // The sum FROM + i*STEP carries the binary error of each term; the decimal it stands for is
  // what the user meant.
  static double roundedDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return std::strtod(text, nullptr);
  }

  void fail(std::string_view item, const std::string& why) {
    if (failed()) return;
    error_ = item.empty()
                 ? why
                 : format("'%.*s' %s", static_cast<int>(item.size()), item.data(), why.c_str());
  }

  Items values_;
  std::string error_;
};

}  // namespace

std::variant<std::vector<double>, std::string> parseProbabilityList(std::string_view text) {
  ListReader reader;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view item = text.substr(start, comma - start);
    if (item.empty())
      return std::string("has an empty item: write values or ranges between commas");
    reader.readItem(item);
    if (reader.failed()) return reader.error();
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return std::move(reader.values());
}

}  // namespace mtd::cli
