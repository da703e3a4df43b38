#pragma once

#include <chrono>
#include <cstdio>
#include <optional>

#include "cli/SweepOptions.h"
#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

// The live line on a terminal's stderr for the point being simulated: frames, frame errors,
// BER and FER so far, throughput and the time left until the first stop rule is expected to
// end the point. Redrawn in place at most a few times a second; off when stderr is no terminal.
class ProgressLine {
 public:
  ProgressLine(std::FILE* stream, bool enabled, const SweepOptions& options)
      : stream_(stream), enabled_(enabled), options_(options) {}
  ~ProgressLine() { erase(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // `sofar` holds the running totals and the point's seconds so far.
  void show(const SweepPoint& sofar);
  // Removes the line, so that a table row printed next stands alone.
  void erase();

 private:
  std::FILE* stream_;
  bool enabled_;
  const SweepOptions& options_;
  bool shown_ = false;
  std::optional<std::chrono::steady_clock::time_point> lastShown_;
};

// The columns of the terminal the stream writes to: its window size, else $COLUMNS, else 80.
std::size_t terminalColumns(std::FILE* stream);

// The estimated seconds until the first stop rule ends the point, or nothing when no rule lets
// itself be estimated yet.
std::optional<double> secondsLeft(const SweepPoint& sofar, const SweepOptions& options);

}  // namespace mtd::cli
