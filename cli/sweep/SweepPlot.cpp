#include "cli/sweep/SweepPlot.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "cli/sweep/ChannelCapacity.h"
#include "cli/sweep/Plotter.h"
#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

// A string in the plotting program's single quotes, where only a doubled quote is special.
std::string quotedForPlotter(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

std::string logValue(double rate) { return rate > 0 ? format("%.10g", rate) : std::string("NaN"); }

struct Ranges {
  double xLow, xHigh, yLow, yHigh;
};

// The p axis fits the points, the error axis spans whole decades around the rates and their
// intervals; either may be given instead.
Ranges rangesFor(const std::vector<SweepPoint>& points, const PlotOptions& options) {
  double xLow = std::numeric_limits<double>::infinity();
  double xHigh = -xLow;
  double yLow = std::numeric_limits<double>::infinity();
  double yHigh = 0;
  for (const SweepPoint& point : points) {
    xLow = std::min(xLow, point.p);
    xHigh = std::max(xHigh, point.p);
    for (const double rate :
         {point.channelBer(), point.ber(), point.fer(), point.berInterval.low,
          point.berInterval.high, point.ferInterval.low, point.ferInterval.high}) {
      if (rate > 0) {
        yLow = std::min(yLow, rate);
        yHigh = std::max(yHigh, rate);
      }
    }
  }
  if (points.empty()) xLow = xHigh = 0;
  const double margin = std::max(0.05 * (xHigh - xLow), 0.002);
  if (yHigh <= 0) {
    yLow = 1e-6;
    yHigh = 1;
  }
  Ranges r{std::max(0.0, xLow - margin), xHigh + margin,
           std::pow(10.0, std::floor(std::log10(yLow))),
           std::pow(10.0, std::ceil(std::log10(yHigh)))};
  if (r.yLow >= r.yHigh) r.yLow = r.yHigh / 10;
  if (options.pRange) r.xLow = options.pRange->low, r.xHigh = options.pRange->high;
  if (options.rateRange) r.yLow = options.rateRange->low, r.yHigh = options.rateRange->high;
  return r;
}

std::string terminal(const PlotRequest& request) {
  const PlotOptions& o = request.options;
  switch (request.format) {
    case PlotFormat::Svg:
      return format(
          "set terminal svg size %d,%d dynamic enhanced font 'Sans,12' "
          "background '#ffffff'\n",
          o.width, o.height);
    case PlotFormat::Pdf:
      return format("set terminal pdfcairo size %gin,%gin enhanced font 'Sans,9'\n",
                    o.width / 100.0, o.height / 100.0);
    case PlotFormat::Png:
      break;
  }
  return format("set terminal pngcairo size %d,%d enhanced font 'Sans,11'\n", o.width, o.height);
}

// The codes in the order their points come.
std::vector<std::string> configsOf(const std::vector<SweepPoint>& points) {
  std::vector<std::string> configs;
  for (const SweepPoint& point : points) {
    if (std::find(configs.begin(), configs.end(), point.config) == configs.end()) {
      configs.push_back(point.config);
    }
  }
  return configs;
}

constexpr const char* COLOURS[] = {"#1f5fbf", "#c0392b", "#2e8b57",
                                   "#8e44ad", "#d35400", "#16a085"};

// One data block per code: p, channel BER, BER with its interval, FER with its interval and
// whether the point reached its stop rule.
std::string dataBlock(const std::vector<SweepPoint>& points, const std::string& config,
                      std::size_t index) {
  std::string text = format("$code%zu << EOD\n", index);
  for (const SweepPoint& point : points) {
    if (point.config != config) continue;
    text += format("%.15g", point.p) + ' ' + logValue(point.channelBer()) + ' ' +
            logValue(point.ber()) + ' ' + logValue(point.berInterval.low) + ' ' +
            logValue(point.berInterval.high) + ' ' + logValue(point.fer()) + ' ' +
            logValue(point.ferInterval.low) + ' ' + logValue(point.ferInterval.high) + ' ' +
            (point.complete() ? "1" : "0") + '\n';
  }
  return text + "EOD\n";
}

std::string curves(const std::vector<std::string>& configs) {
  std::string plot =
      "plot $code0 using 1:2 with linespoints lw 2 pt 6 dt 3 lc rgb '#808080' "
      "title 'channel BER'";
  const bool named = configs.size() > 1;
  for (std::size_t i = 0; i < configs.size(); ++i) {
    const char* colour = COLOURS[i % std::size(COLOURS)];
    const std::string suffix = named ? " " + configs[i] : std::string();
    plot +=
        format(", \\\n     $code%zu using 1:3:4:5 with yerrorlines lw 2 pt 7 lc rgb '%s' title %s",
               i, colour, quotedForPlotter("BER" + suffix).c_str());
    plot += format(
        ", \\\n     $code%zu using 1:6:7:8 with yerrorlines lw 2 pt 5 dt 2 lc rgb '%s' title %s", i,
        colour, quotedForPlotter("FER" + suffix).c_str());
    // Points cut short by time or an interruption: an open white mark over the filled one.
    plot += format(
        ", \\\n     $code%zu using 1:($9 == 0 ? $3 : NaN) with points pt 7 ps 0.6 lc rgb "
        "'#ffffff' notitle, \\\n     $code%zu using 1:($9 == 0 ? $6 : NaN) with points pt 5 "
        "ps 0.6 lc rgb '#ffffff' notitle",
        i, i);
  }
  return plot + "\n";
}

}  // namespace

PlotFormat plotFormat(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".svg") return PlotFormat::Svg;
  if (extension == ".pdf") return PlotFormat::Pdf;
  return PlotFormat::Png;
}

std::string plotScript(const std::vector<SweepPoint>& points, const PlotRequest& request) {
  const double limit = bscCapacityLimit(request.codeRate);
  const Ranges r = rangesFor(points, request.options);
  const double inverse = 1 / request.codeRate;
  const std::string rate =
      inverse == std::floor(inverse) ? format("1/%g", inverse) : format("%g", request.codeRate);
  const std::string capacity = format("capacity limit, rate %s: p = %.4f", rate.c_str(), limit);
  std::ostringstream s;
  s << terminal(request);
  s << "set output " << quotedForPlotter(request.output.string()) << "\n";
  s << "set encoding utf8\n";
  s << "set title " << quotedForPlotter(request.title) << " noenhanced\n";
  s << "set xlabel 'channel error probability p'\nset ylabel 'error rate'\n";
  s << "set logscale y\nset format y '10^{%L}'\n";
  s << "set grid xtics ytics mytics\n";
  // Rates grow with p, so the lower right corner stays clear of the curves and the labels.
  s << "set key inside bottom right reverse Left opaque box samplen 3 spacing 1.1 noenhanced\n";
  s << format("set xrange [%.10g:%.10g]\nset yrange [%.10g:%.10g]\n", r.xLow, r.xHigh, r.yLow,
              r.yHigh);
  const bool limitShown = limit > r.xLow && limit < r.xHigh;
  if (limitShown) {
    s << format(
        "set arrow from %.10g, graph 0 to %.10g, graph 1 nohead dt 2 lw 2 lc rgb '#606060'\n",
        limit, limit);
    s << format("set label %s at %.10g, graph 0.06 right offset -0.6,0 textcolor rgb '#404040'\n",
                quotedForPlotter(capacity).c_str(), limit);
  }
  const std::vector<std::string> configs = configsOf(points);
  for (std::size_t i = 0; i < configs.size(); ++i) s << dataBlock(points, configs[i], i);
  if (configs.empty()) s << dataBlock(points, "", 0);
  std::string plot = curves(configs.empty() ? std::vector<std::string>{""} : configs);
  if (!limitShown) {
    // Off the axis: named in the key, where a reader still learns where it lies.
    plot.pop_back();
    plot += ", \\\n     NaN with lines dt 2 lw 2 lc rgb '#606060' title " +
            quotedForPlotter(capacity + " (off the axis)") + "\n";
  }
  s << plot;
  return s.str();
}

bool drawPlot(const std::vector<SweepPoint>& points, const PlotRequest& request,
              std::string& error) {
  const std::string script = plotScript(points, request);
  if (!runPlotter(script, error)) return false;
  std::error_code ignored;
  if (std::filesystem::file_size(request.output, ignored) == 0 || ignored) {
    error = "gnuplot failed to draw the plot";
    return false;
  }
  return true;
}

}  // namespace mtd::cli
