#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/record/Frame.h"
#include "cli/record/GifPalette.h"

namespace mtd::cli::record {

// An animated GIF on a fixed palette. After the first picture each frame stores only the
// rectangle that changed, drawn over the picture before it; a frame equal to the one before
// lengthens that one's delay instead of being stored.
class GifWriter final : public FrameSink {
 public:
  // `loop`: the animation repeats for ever; otherwise it plays once.
  GifWriter(std::FILE* stream, int fps, bool loop) : stream_(stream), fps_(fps), loop_(loop) {}
  ~GifWriter() override;
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  bool addFrame(const Frame& frame, std::int64_t periods) override;
  bool finish() override;
  const std::string& error() const override { return error_; }

 private:
  struct Change {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
  };

  bool open(int width, int height);
  std::optional<Change> changedRectangle() const;
  bool writePending();
  // Centiseconds from the start to the beginning of frame period `period`.
  std::int64_t centiseconds(std::int64_t period) const;
  bool fail(const std::string& what);

  std::FILE* stream_;
  int fps_;
  bool loop_;
  GifFileType* gif_ = nullptr;
  GifPalette palette_;
  int width_ = 0;
  int height_ = 0;
  std::vector<GifPixelType> shown_;    // the picture of the last frame added
  std::vector<GifPixelType> current_;  // the picture being added
  std::optional<Change> pending_;      // the last frame, not written until its delay is known
  std::int64_t pendingStart_ = 0;      // its first frame period
  std::int64_t periods_ = 0;           // frame periods added so far
  std::string error_;
};

}  // namespace mtd::cli::record
