#include "cli/sweep/ProgressLine.h"

#include <algorithm>
#include <cstdlib>

#include "cli/Terminal.h"
#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

constexpr std::chrono::milliseconds REDRAW_INTERVAL{200};

std::string duration(double seconds) {
  if (seconds < 100) return format("%.0f s", seconds);
  if (seconds < 6000) return format("%.0f min", seconds / 60);
  return format("%.1f h", seconds / 3600);
}

}  // namespace

std::size_t terminalColumns(std::FILE* stream) {
  if (const std::optional<std::size_t> width = terminalWidth(stream)) return *width;
  if (const char* columns = std::getenv("COLUMNS")) {
    const long value = std::strtol(columns, nullptr, 10);
    if (value > 1 && value < 10000) return static_cast<std::size_t>(value);
  }
  return 80;
}

std::optional<double> secondsLeft(const SweepPoint& sofar, const SweepOptions& options) {
  if (sofar.frames <= 0 || sofar.seconds <= 0) return std::nullopt;
  const double perFrame = sofar.seconds / static_cast<double>(sofar.frames);
  double left = static_cast<double>(options.frames - sofar.frames) * perFrame;
  if (options.frameErrors > 0 && sofar.frameErrors > 0) {
    const double perError = sofar.seconds / static_cast<double>(sofar.frameErrors);
    left = std::min(left, static_cast<double>(options.frameErrors - sofar.frameErrors) * perError);
  }
  if (options.maxSeconds) left = std::min(left, *options.maxSeconds - sofar.seconds);
  return std::max(0.0, left);
}

void ProgressLine::show(const SweepPoint& sofar) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (lastShown_ && now - *lastShown_ < REDRAW_INTERVAL) return;
  lastShown_ = now;
  const std::optional<double> left = secondsLeft(sofar, options_);
  const std::string text = format(
      "p=%-8.6g frames %lld  frame errors %lld  BER %.3e  FER %.3e  %.1f Mbit/s  %s", sofar.p,
      static_cast<long long>(sofar.frames), static_cast<long long>(sofar.frameErrors), sofar.ber(),
      sofar.fer(), sofar.infoMbps(), left ? (duration(*left) + " left").c_str() : "");
  // Carriage return, the text, then clear what a longer earlier line left on the right. A line
  // as wide as the terminal would wrap, and every redraw would add a line.
  const std::size_t width = terminalColumns(stream_);
  const std::string shown = text.size() < width ? text : text.substr(0, width - 1);
  std::fprintf(stream_, "\r%s\033[K", shown.c_str());
  std::fflush(stream_);
  shown_ = true;
}

void ProgressLine::erase() {
  if (!shown_) return;
  std::fputs("\r\033[K", stream_);
  std::fflush(stream_);
  shown_ = false;
  lastShown_.reset();
}

}  // namespace mtd::cli
