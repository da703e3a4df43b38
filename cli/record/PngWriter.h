#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/record/Frame.h"

namespace mtd::cli::record {

// One frame of the recording, counted from 0, as a PNG picture.
class PngWriter final : public FrameSink {
 public:
  PngWriter(std::FILE* stream, std::int64_t wanted) : stream_(stream), wanted_(wanted) {}

  bool addFrame(const Frame& frame, std::int64_t periods) override;
  bool complete() const override { return written_; }
  bool finish() override;
  const std::string& error() const override { return error_; }

 private:
  std::FILE* stream_;
  std::int64_t wanted_;
  std::int64_t seen_ = 0;
  bool written_ = false;
  std::string error_;
};

}  // namespace mtd::cli::record
