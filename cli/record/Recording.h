#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>

#include "cli/record/Frame.h"
#include "cli/record/Recorder.h"
#include "ui/DrawingSurface.h"

namespace mtd::cli::record {

struct RecordingResult {
  std::int64_t frames = 0;
  bool sinkFailed = false;
  bool stopped = false;  // the stop flag ended it early
};

// Performs a Run of the window program's own run control and display on `graphics` (whose
// window shows a client area of `client`), configured from `directory`, and gives the frames
// of the plan's block to the sink as `window` shows them. The blocks before it are simulated
// but not drawn, unless `drawEveryBlock`.
RecordingResult recordBlock(Graphics& graphics, FrameSource& window, ScreenSize client,
                            const std::filesystem::path& directory, const FramePlan& plan,
                            FrameSink& sink, const std::atomic<bool>& stop,
                            const Recorder::Progress& progress, bool drawEveryBlock = false);

}  // namespace mtd::cli::record
