#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "cli/record/Frame.h"
#include "cli/record/RecordPhase.h"
#include "cli/record/RecordWindowSystem.h"
#include "control/RunController.h"

namespace mtd::cli::record {

// What to take of the block: the parts from `start` to `end`, one frame per `stepsPerFrame`
// animated steps, the waits at `fps` frames per second.
struct FramePlan {
  BlockPlan block;
  Phase start = Phase::Noise;
  Phase end = Phase::Statistics;
  int stepsPerFrame = 20;
  int fps = 25;
};

// The number of frames the plan gives.
std::int64_t plannedFrames(const FramePlan& plan);

// Takes the frames of the chosen block from the window as the run draws it, and tells the
// window system when the run has given all that is wanted (or the sink or the user stop it).
class Recorder final : public RunObserver {
 public:
  // Frames taken so far, and the block the run has reached.
  using Progress = std::function<void(std::int64_t framesDone, std::int32_t block)>;

  Recorder(const FramePlan& plan, const RunController& run, FrameSource& window, FrameSink& sink,
           const std::atomic<bool>& stop, Progress progress)
      : plan_(plan),
        run_(run),
        window_(window),
        sink_(sink),
        stop_(stop),
        progress_(std::move(progress)) {}

  void animatedStep() override;
  void timedWait(int milliseconds) override;
  bool finished() const override { return done_ || stop_.load(std::memory_order_relaxed); }
  // The block before the chosen one leaves its status lines on the screen, and the empty grid
  // drawn after it covers every cell; what comes before it is never seen.
  bool drawingWanted() const override {
    return !fastForward_ || run_.blockNumber() + 1 >= plan_.block.blockNumber;
  }
  // Draws every block on the way to the chosen one, for checking that skipping them changes
  // no frame.
  void drawEveryBlock() { fastForward_ = false; }

  std::int64_t framesDone() const { return frames_; }
  bool sinkFailed() const { return sinkFailed_; }

 private:
  bool chosenBlock() const { return run_.blockNumber() == plan_.block.blockNumber; }
  bool wanted(Phase phase) const { return phase >= plan_.start && phase <= plan_.end; }
  void capture(std::int64_t periods);

  FramePlan plan_;
  const RunController& run_;
  FrameSource& window_;
  FrameSink& sink_;
  const std::atomic<bool>& stop_;
  Progress progress_;
  std::int64_t steps_ = 0;  // animated steps of the chosen block so far
  int waits_ = 0;           // timed waits of the chosen block so far
  std::int64_t frames_ = 0;
  bool done_ = false;
  bool fastForward_ = true;
  bool sinkFailed_ = false;
};

}  // namespace mtd::cli::record
