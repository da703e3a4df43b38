#pragma once

#include "cli/record/Frame.h"
#include "platform/raster/RasterSurface.h"

namespace mtd::cli::record {

// The frames of a window drawn in memory.
class RasterFrameSource final : public FrameSource {
 public:
  explicit RasterFrameSource(RasterSurface& window) : window_(window) {}
  Frame frame() override {
    return Frame{window_.pixels(), window_.stride(), window_.width(), window_.height()};
  }

 private:
  RasterSurface& window_;
};

}  // namespace mtd::cli::record
