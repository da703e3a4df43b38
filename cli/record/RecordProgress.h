#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace mtd::cli::record {

// "frame 120 of 803" on a terminal's stderr, rewritten in place a few times a second and
// blanked at the end; nothing when stderr is no terminal.
class RecordProgress {
 public:
  RecordProgress(std::FILE* stream, std::int64_t total);
  ~RecordProgress() { erase(); }
  RecordProgress(const RecordProgress&) = delete;
  RecordProgress& operator=(const RecordProgress&) = delete;

  void show(std::int64_t framesDone);
  void erase();

 private:
  std::FILE* stream_;
  std::int64_t total_;
  bool enabled_;
  int shownLength_ = 0;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace mtd::cli::record
