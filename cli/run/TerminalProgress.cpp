#include "cli/run/TerminalProgress.h"

#include <chrono>
#include <string>

#include "cli/Program.h"
#include "cli/Terminal.h"
#include "ui/TextLines.h"

namespace mtd::cli {

std::unique_ptr<TerminalProgress> TerminalProgress::forTerminal(std::FILE* stream) {
  if (!isTerminal(stream)) return nullptr;
  return std::make_unique<TerminalProgress>(stream, [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  });
}

TerminalProgress::TerminalProgress(std::FILE* stream, Clock clock)
    : stream_(stream), clock_(std::move(clock)) {}

void TerminalProgress::show(std::int32_t trialsDone, std::int32_t maxBlock) {
  const std::string line =
      std::string(programName()) + ": " + trialProgressLine(trialsDone, maxBlock);
  // The line never gets shorter within a run, but a blank tail keeps that from mattering.
  const std::size_t blanks = shownLength_ > line.size() ? shownLength_ - line.size() : 0;
  std::fprintf(stream_, "\r%s%*s", line.c_str(), static_cast<int>(blanks), "");
  std::fflush(stream_);
  shownLength_ = line.size() + blanks;
}

void TerminalProgress::erase() {
  if (shownLength_ == 0) return;
  std::fprintf(stream_, "\r%*s\r", static_cast<int>(shownLength_), "");
  std::fflush(stream_);
  shownLength_ = 0;
}

}  // namespace mtd::cli
