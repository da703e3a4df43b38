#include "cli/sweep/SweepPlot.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "cli/sweep/ChannelCapacity.h"
#include "core/TextFormat.h"

extern char** environ;

namespace mtd::cli {

namespace {

constexpr const char* PLOTTER = "gnuplot";

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

// The capacity line always shows; the error axis spans whole decades around the data.
Ranges rangesFor(const std::vector<SweepPoint>& points, double limit) {
  double xLow = limit;
  double xHigh = limit;
  double yLow = std::numeric_limits<double>::infinity();
  double yHigh = 0;
  for (const SweepPoint& point : points) {
    xLow = std::min(xLow, point.p);
    xHigh = std::max(xHigh, point.p);
    for (const double rate : {point.channelBer(), point.ber(), point.fer()}) {
      if (rate > 0) {
        yLow = std::min(yLow, rate);
        yHigh = std::max(yHigh, rate);
      }
    }
  }
  const double margin = std::max(0.05 * (xHigh - xLow), 0.002);
  if (yHigh <= 0) {
    yLow = 1e-6;
    yHigh = 1;
  }
  return {std::max(0.0, xLow - margin), xHigh + margin,
          std::pow(10.0, std::floor(std::log10(yLow))),
          std::pow(10.0, std::ceil(std::log10(yHigh)))};
}

}  // namespace

std::string plotScript(const std::vector<SweepPoint>& points, const PlotRequest& request) {
  const double limit = bscCapacityLimit(request.codeRate);
  const Ranges r = rangesFor(points, limit);
  std::ostringstream s;
  s << (request.svg ? "set terminal svg size 900,600 dynamic enhanced font 'Sans,12' "
                      "background '#ffffff'\n"
                    : "set terminal pngcairo size 900,600 enhanced font 'Sans,11'\n");
  s << "set output " << quotedForPlotter(request.output.string()) << "\n";
  s << "set encoding utf8\n";
  s << "set title " << quotedForPlotter(request.title) << " noenhanced\n";
  s << "set xlabel 'channel error probability p'\nset ylabel 'error rate'\n";
  s << "set logscale y\nset format y '10^{%L}'\n";
  s << "set grid xtics ytics mytics\nset key below horizontal maxcols 3 maxrows 1 width 2\n";
  s << format("set xrange [%.10g:%.10g]\nset yrange [%.10g:%.10g]\n", r.xLow, r.xHigh, r.yLow,
              r.yHigh);
  s << format("set arrow from %.10g, graph 0 to %.10g, graph 1 nohead dt 2 lw 2 lc rgb '#606060'\n",
              limit, limit);
  const double inverse = 1 / request.codeRate;
  const std::string rate =
      inverse == std::floor(inverse) ? format("1/%g", inverse) : format("%g", request.codeRate);
  s << format(
      "set label 'capacity limit, rate %s: p = %.4f' at %.10g, graph 0.06 right offset "
      "-0.6,0 textcolor rgb '#404040'\n",
      rate.c_str(), limit, limit);
  s << "$rates << EOD\n";
  for (const SweepPoint& point : points) {
    s << format("%.15g", point.p) << ' ' << logValue(point.channelBer()) << ' '
      << logValue(point.ber()) << ' ' << logValue(point.fer()) << '\n';
  }
  s << "EOD\n";
  s << "plot $rates using 1:2 with linespoints lw 2 pt 6 dt 3 lc rgb '#808080' "
       "title 'channel BER', \\\n"
       "     $rates using 1:3 with linespoints lw 2 pt 7 lc rgb '#1f5fbf' "
       "title 'BER after decoding', \\\n"
       "     $rates using 1:4 with linespoints lw 2 pt 5 lc rgb '#c0392b' "
       "title 'FER after decoding'\n";
  return s.str();
}

bool plotterAvailable() {
  const char* path = std::getenv("PATH");
  std::istringstream directories(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string directory; std::getline(directories, directory, ':');) {
    const std::string candidate = (directory.empty() ? "." : directory) + "/" + PLOTTER;
    if (access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

bool drawPlot(const std::vector<SweepPoint>& points, const PlotRequest& request,
              std::string& error) {
  const std::string script = plotScript(points, request);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    error = "cannot start gnuplot";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  // The plot goes to its file; what gnuplot prints is of no use on the table's stdout.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  char name[] = "gnuplot";
  char* argv[] = {name, nullptr};
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, PLOTTER, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[0]);
  if (spawned != 0) {
    ::close(pipeEnds[1]);
    error = "cannot start gnuplot (is the gnuplot-nox package installed?)";
    return false;
  }
  // A plotter that dies early must not take this process down with SIGPIPE.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  std::size_t written = 0;
  while (written < script.size()) {
    const ssize_t n = write(pipeEnds[1], script.data() + written, script.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  ::close(pipeEnds[1]);
  sigaction(SIGPIPE, &previous, nullptr);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  std::error_code ignored;
  if (written < script.size() || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::filesystem::file_size(request.output, ignored) == 0 || ignored) {
    error = "gnuplot failed to draw the plot";
    return false;
  }
  return true;
}

}  // namespace mtd::cli
