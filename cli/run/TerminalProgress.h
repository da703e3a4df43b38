#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

namespace mtd::cli {

// How far a run has come in a long stretch without a shown block, on a terminal: one line,
// rewritten in place as the run goes on and blanked before anything else is written.
class TerminalProgress {
 public:
  using Clock = std::function<std::int64_t()>;  // milliseconds, never going back

  // Progress for the stream when it is a terminal; nothing otherwise, so that a log file or a
  // pipe gets no progress lines.
  static std::unique_ptr<TerminalProgress> forTerminal(std::FILE* stream);

  TerminalProgress(std::FILE* stream, Clock clock);

  std::int64_t clockMilliseconds() const { return clock_(); }
  void show(std::int32_t trialsDone, std::int32_t maxBlock);
  void erase();

 private:
  std::FILE* stream_;
  Clock clock_;
  std::size_t shownLength_ = 0;
};

}  // namespace mtd::cli
