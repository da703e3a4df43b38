#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace mtd::cli::record {

// One picture of the window: 0x00RRGGBB words, row after row, `stride` words apart.
struct Frame {
  std::span<const std::uint32_t> pixels;
  int stride = 0;
  int width = 0;
  int height = 0;

  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                  static_cast<std::size_t>(x)];
  }
};

// What the window shows now.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  virtual Frame frame() = 0;
};

// Where the frames go. A frame shown for several frame periods in a row (a timed wait) comes
// once with its count.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // False when the frame could not be written; error() says why.
  virtual bool addFrame(const Frame& frame, std::int64_t periods) = 0;
  // Whether the sink has all it wants (a single picture) and the recording may stop.
  virtual bool complete() const { return false; }
  // Writes what the format needs at its end; false on failure.
  virtual bool finish() = 0;
  virtual const std::string& error() const = 0;
};

}  // namespace mtd::cli::record
