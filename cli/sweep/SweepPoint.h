#pragma once

#include <cstdint>
#include <string>

#include "cli/sweep/ConfidenceInterval.h"

namespace mtd::cli {

// Why a point stopped: one of its stop rules, or an interruption.
enum class StopReason { Frames, FrameErrors, Time, Interrupted };

const char* stopName(StopReason reason);  // as the CSV and JSON write it

// One point of a sweep as the table, the CSV and the plot show it.
struct SweepPoint {
  std::string config;  // the code's name in the sweep, when it compares several
  double p = 0;
  double effectiveP = 0;  // the probability the noise really has (demo noise quantises p)
  std::int64_t frames = 0;
  std::int64_t frameErrors = 0;
  std::int64_t infoBits = 0;
  std::int64_t channelInfoErrors = 0;
  std::int64_t decodedInfoErrors = 0;
  std::int64_t iterations = 0;  // decoder iterations over all frames
  double seconds = 0;
  StopReason stop = StopReason::Interrupted;
  Interval berInterval;
  Interval ferInterval;

  // Reached its frame or frame-error rule: the counts are those the arguments ask for.
  bool complete() const { return stop == StopReason::Frames || stop == StopReason::FrameErrors; }
  bool thin() const { return frameErrors < THIN_FRAME_ERRORS; }

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
