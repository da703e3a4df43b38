#include "cli/record/RecordProgress.h"

#include <unistd.h>

#include <algorithm>

namespace mtd::cli::record {

RecordProgress::RecordProgress(std::FILE* stream, std::int64_t total, std::int32_t block)
    : stream_(stream), total_(total), block_(block), enabled_(isatty(fileno(stream)) != 0) {}

void RecordProgress::show(std::int64_t framesDone, std::int32_t block) {
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (shownLength_ > 0 && framesDone < total_ &&
      now - lastShown_ < std::chrono::milliseconds(200)) {
    return;
  }
  lastShown_ = now;
  const int percent = total_ > 0 ? static_cast<int>(framesDone * 100 / total_) : 100;
  const int length =
      block < block_
          ? std::fprintf(stream_, "\rmtd-sim record: block %d of the run, on the way to block %d",
                         block, block_)
          : std::fprintf(stream_, "\rmtd-sim record: frame %lld of %lld (%d%%)       ",
                         static_cast<long long>(framesDone), static_cast<long long>(total_),
                         percent);
  if (length > 0) shownLength_ = std::max(shownLength_, length - 1);
  std::fflush(stream_);
}

void RecordProgress::erase() {
  if (!enabled_ || shownLength_ == 0) return;
  std::fprintf(stream_, "\r%*s\r", shownLength_, "");
  std::fflush(stream_);
  shownLength_ = 0;
}

}  // namespace mtd::cli::record
