#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/SweepOptions.h"
#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

enum class PlotFormat { Png, Svg, Pdf };

// The format a plot file's name asks for, by its extension in any case; PNG otherwise.
PlotFormat plotFormat(const std::filesystem::path& file);

struct PlotRequest {
  std::filesystem::path output;  // where the plotting program writes
  PlotFormat format = PlotFormat::Png;
  std::string title;
  double codeRate = 0.5;  // the capacity limit of the channel for this rate is marked
  PlotOptions options;    // size and ranges
};

// The plotting program's script: for each code (the points' config, in order) BER and FER
// after decoding with their 95 % intervals as error bars, and the channel BER, against p on a
// logarithmic error axis. Points that did not reach their stop rule are drawn open. The
// capacity limit is a dashed vertical line where it lies within the p axis, and is named in
// the key otherwise. Rates of 0 cannot sit on a log axis and are left out.
std::string plotScript(const std::vector<SweepPoint>& points, const PlotRequest& request);

// Runs the plotting program with the script on its standard input, in a process group of its
// own so that a Ctrl-C meant for the sweep does not end it; false (with the reason in
// `error`) when it cannot be started, fails or writes nothing.
bool drawPlot(const std::vector<SweepPoint>& points, const PlotRequest& request,
              std::string& error);

}  // namespace mtd::cli
