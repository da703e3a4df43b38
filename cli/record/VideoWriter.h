#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/record/Frame.h"

namespace mtd::cli::record {

enum class VideoFormat { Mp4, Webm };

// The ffmpeg program found on PATH, or nothing.
std::optional<std::filesystem::path> findFfmpeg();

// ffmpeg's arguments for raw frames on its standard input encoded into `output`. A target that
// cannot seek (a pipe) gets a fragmented MP4, which is written front to back.
std::vector<std::string> ffmpegArguments(const std::filesystem::path& ffmpeg, VideoFormat format,
                                         int width, int height, int fps,
                                         const std::filesystem::path& output, bool seekable);

// A video made by the ffmpeg program, which takes the raw frames through a pipe; no shell is
// involved. The encoder runs on one thread, so the same frames give the same bytes.
class VideoWriter final : public FrameSink {
 public:
  VideoWriter(std::filesystem::path ffmpeg, VideoFormat format, int fps,
              std::filesystem::path output, bool seekable)
      : ffmpeg_(std::move(ffmpeg)),
        format_(format),
        fps_(fps),
        output_(std::move(output)),
        seekable_(seekable) {}
  ~VideoWriter() override;
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  bool addFrame(const Frame& frame, std::int64_t periods) override;
  bool finish() override;
  const std::string& error() const override { return error_; }

 private:
  bool start(int width, int height);
  bool writeAll(const unsigned char* bytes, std::size_t length);
  // Waits for ffmpeg; true when it exited with 0.
  bool reap();

  std::filesystem::path ffmpeg_;
  VideoFormat format_;
  int fps_;
  std::filesystem::path output_;
  bool seekable_;
  pid_t child_ = -1;
  int pipe_ = -1;
  std::vector<unsigned char> row_;
  std::string error_;
};

}  // namespace mtd::cli::record
