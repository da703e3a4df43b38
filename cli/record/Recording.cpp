#include "cli/record/Recording.h"

#include "cli/record/RecordWindowSystem.h"
#include "control/Program.h"

namespace mtd::cli::record {

RecordingResult recordBlock(Graphics& graphics, FrameSource& window, ScreenSize client,
                            const std::filesystem::path& directory, const FramePlan& plan,
                            FrameSink& sink, const std::atomic<bool>& stop,
                            const Recorder::Progress& progress, bool drawEveryBlock) {
  RecordWindowSystem windowSystem(graphics, client);
  Program program(windowSystem, directory);
  Recorder recorder(plan, program.runController(), window, sink, stop, progress);
  if (drawEveryBlock) recorder.drawEveryBlock();
  windowSystem.attach(program.window(), program.pacing(), recorder);
  windowSystem.runOnce();
  RecordingResult result;
  result.frames = recorder.framesDone();
  result.sinkFailed = recorder.sinkFailed();
  result.stopped = stop.load(std::memory_order_relaxed) && !result.sinkFailed;
  return result;
}

}  // namespace mtd::cli::record
