#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace mtd::cli::record {

// "frame 120 of 803" on a terminal's stderr, or the block passed on the way to the chosen
// one, rewritten in place a few times a second and blanked at the end; nothing when stderr is
// no terminal.
class RecordProgress {
 public:
  RecordProgress(std::FILE* stream, std::int64_t total, std::int32_t block);
  ~RecordProgress() { erase(); }
  RecordProgress(const RecordProgress&) = delete;
  RecordProgress& operator=(const RecordProgress&) = delete;

  void show(std::int64_t framesDone, std::int32_t block);
  void erase();

 private:
  std::FILE* stream_;
  std::int64_t total_;
  std::int32_t block_;
  bool enabled_;
  int shownLength_ = 0;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace mtd::cli::record
