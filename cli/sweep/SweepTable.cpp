#include "cli/sweep/SweepTable.h"

#include <algorithm>
#include <cmath>

#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

constexpr const char* RULE =
    "# ----------------------------------------------------------------------------\n";

// The interval around a rate as "-12+15%": compact, and still showing an uneven interval.
std::string relativeInterval(double rate, const Interval& interval) {
  if (rate <= 0) return format("<%.1e", interval.high);
  const auto percent = [rate](double bound) {
    // Bounded, for a rate of one error in 1e18 bits below an upper bound near 1.
    return std::llround(std::min(1e9, 100.0 * std::fabs(bound - rate) / rate));
  };
  return format("-%lld+%lld%%", percent(interval.low), percent(interval.high));
}

std::string remarks(const SweepPoint& point) {
  std::string text;
  if (point.thin()) text += " thin";
  if (point.stop == StopReason::Time) text += " time";
  if (point.stop == StopReason::Interrupted) text += " interrupted";
  return text;
}

}  // namespace

std::string tableHeading() {
  return std::string(RULE) +
         format("# %9s %11s %7s  %9s %-9s %9s %-9s %s\n", "p", "frames", "fr.err", "BER", " 95%",
                "FER", " 95%", "note") +
         RULE;
}

std::string tableCurveLine(const std::string& name) { return "# code " + name + "\n"; }

std::string sweepRow(const SweepPoint& point) {
  std::string row =
      format("  %9.5g %11lld %7lld  %9.3e %-9s %9.3e %-9s%s", point.p,
             static_cast<long long>(point.frames), static_cast<long long>(point.frameErrors),
             point.ber(), relativeInterval(point.ber(), point.berInterval).c_str(), point.fer(),
             relativeInterval(point.fer(), point.ferInterval).c_str(), remarks(point).c_str());
  row.erase(row.find_last_not_of(' ') + 1);
  return row + "\n";
}

}  // namespace mtd::cli
