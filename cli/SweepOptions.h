#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/CodeOverrides.h"

namespace mtd::cli {

enum class SweepNoise { Sound, Demo };

// A frame of a sweep: frame `frame` (from 0) of point `point` (from 0, in --p order).
struct FrameReference {
  std::int64_t point = 0;
  std::int64_t frame = 0;
};

// An axis range of the plot, from low to high.
struct AxisRange {
  double low = 0;
  double high = 0;
};

struct PlotOptions {
  std::filesystem::path file;  // .png, .svg or .pdf
  int width = 900;             // pixels (PNG, SVG); a PDF takes 1/100 inch per pixel
  int height = 600;
  std::optional<AxisRange> pRange;     // fitted to the points when not given
  std::optional<AxisRange> rateRange;  // whole decades around the rates when not given
};

struct KeepFailures {
  std::int64_t perPoint = 0;  // the first this many frames in error of each point
  std::filesystem::path file;
};

// What `mtd-sim sweep` was asked for, checked for form and range. Empty paths mean no file.
struct SweepOptions {
  std::vector<double> p;  // empty: the configured p
  std::int64_t frames = 1'000'000;
  std::int64_t frameErrors = 100;  // 0: never
  std::optional<double> maxSeconds;
  std::uint64_t seed = 1;
  int threads = 1;  // the parser puts the hardware's thread count here when none is given
  SweepNoise noise = SweepNoise::Sound;
  std::filesystem::path csv;
  std::filesystem::path json;
  PlotOptions plot;
  std::optional<KeepFailures> keepFailures;
  std::optional<FrameReference> traceFrame;  // trace this frame instead of sweeping
  std::vector<CodeOverride> overrides;       // values of init.txt given with --set, for every code
  std::string commandLine;                   // as typed, for the outputs' settings
  bool defaultsAllowed = false;  // run the built-in code where init.txt is unmarked or unreadable
};

}  // namespace mtd::cli
