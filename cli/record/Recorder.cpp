#include "cli/record/Recorder.h"

namespace mtd::cli::record {

std::int64_t plannedFrames(const FramePlan& plan) {
  const BlockPlan& b = plan.block;
  const std::int64_t n = plan.stepsPerFrame;
  const std::int64_t perPhase[PHASE_COUNT] = {
      animatedFrames(b.noiseSteps, n), animatedFrames(b.syndromeSteps, n),
      animatedFrames(b.decodingSteps, n), waitFrames(b.waitMilliseconds, plan.fps),
      waitFrames(b.statisticsMilliseconds, plan.fps)};
  std::int64_t total = 0;
  for (int phase = static_cast<int>(plan.start); phase <= static_cast<int>(plan.end); ++phase) {
    total += perPhase[phase];
  }
  return total;
}

void Recorder::capture(std::int64_t periods) {
  if (periods <= 0) return;
  if (!sink_.addFrame(window_.frame(), periods)) {
    sinkFailed_ = true;
    done_ = true;
    return;
  }
  frames_ += periods;
  if (sink_.complete()) done_ = true;
  if (progress_) progress_(frames_, plan_.block.blockNumber);
}

void Recorder::animatedStep() {
  if (done_) return;
  if (!chosenBlock()) {
    if (progress_) progress_(0, run_.blockNumber());
    return;
  }
  ++steps_;
  const BlockPlan& b = plan_.block;
  Phase phase = Phase::Decoding;
  std::int64_t step = steps_ - b.noiseSteps - b.syndromeSteps;  // within its part, from 1
  std::int64_t length = b.decodingSteps;
  if (steps_ <= b.noiseSteps) {
    phase = Phase::Noise;
    step = steps_;
    length = b.noiseSteps;
  } else if (steps_ <= b.noiseSteps + b.syndromeSteps) {
    phase = Phase::Syndrome;
    step = steps_ - b.noiseSteps;
    length = b.syndromeSteps;
  }
  if (phase > plan_.end) {
    done_ = true;
    return;
  }
  if (!wanted(phase)) return;
  if ((step - 1) % plan_.stepsPerFrame == 0 || step == length) capture(1);
  if (phase == plan_.end && step >= length) done_ = true;
}

void Recorder::timedWait(int milliseconds) {
  if (done_ || !chosenBlock()) return;
  ++waits_;
  const Phase phase = waits_ == 1 ? Phase::Wait : Phase::Statistics;
  if (phase > plan_.end) {
    done_ = true;
    return;
  }
  if (!wanted(phase)) return;
  capture(waitFrames(milliseconds, plan_.fps));
  if (phase == plan_.end) done_ = true;
}

}  // namespace mtd::cli::record
