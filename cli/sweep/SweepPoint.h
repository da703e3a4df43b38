#pragma once

#include <cstdint>

namespace mtd::cli {

// One point of a sweep as the table, the CSV and the plot show it.
struct SweepPoint {
  double p = 0;
  double effectiveP = 0;  // the probability the noise really has (demo noise quantises p)
  std::int64_t frames = 0;
  std::int64_t frameErrors = 0;
  std::int64_t infoBits = 0;
  std::int64_t channelInfoErrors = 0;
  std::int64_t decodedInfoErrors = 0;
  std::int64_t iterations = 0;  // decoder iterations over all frames
  double seconds = 0;
  bool complete = false;  // ended by its stop rule, not interrupted

  double channelBer() const { return ratio(channelInfoErrors, infoBits); }
  double ber() const { return ratio(decodedInfoErrors, infoBits); }
  double fer() const { return ratio(frameErrors, frames); }
  double meanIterations() const { return ratio(iterations, frames); }
  double infoMbps() const {
    return seconds > 0 ? static_cast<double>(infoBits) / seconds / 1e6 : 0.0;
  }

 private:
  static double ratio(std::int64_t part, std::int64_t whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
  }
};

}  // namespace mtd::cli
