#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

struct PlotRequest {
  std::filesystem::path output;  // where the plotting program writes
  bool svg = false;              // SVG, else PNG
  std::string title;
  double codeRate = 0.5;  // the capacity limit of the channel for this rate is marked
};

// The plotting program's script: channel BER, BER and FER after decoding against p on a
// logarithmic error axis, with the capacity limit as a dashed vertical line. Rates of 0 cannot
// sit on a log axis and are left out.
std::string plotScript(const std::vector<SweepPoint>& points, const PlotRequest& request);

// Whether the plotting program can be found on PATH.
bool plotterAvailable();

// Runs the plotting program with the script on its standard input; false (with the reason in
// `error`) when it cannot be started, fails or writes nothing.
bool drawPlot(const std::vector<SweepPoint>& points, const PlotRequest& request,
              std::string& error);

}  // namespace mtd::cli
