#pragma once

#include <cstdint>

namespace mtd::sweep {

// Frames are simulated in batches of this many, in a fixed order; a point's stop rule is tested
// at batch ends only, so the counts never depend on threads or speed. A multiple of 512 so that
// every lane width fills whole words.
inline constexpr std::int64_t BATCH_FRAMES = 1024;

// The most frames a point may run, and so the bound of every frame index: the information bits
// of so many frames of the longest block still fit the 64-bit counts.
inline constexpr std::int64_t MAX_FRAMES = 1'000'000'000'000'000;

// Batches needed for frameLimit frames; the last one may be short. Rounded up without adding
// first, which would overflow near the largest count.
inline std::int64_t batchCount(std::int64_t frameLimit) {
  if (frameLimit <= 0) return 0;
  return frameLimit / BATCH_FRAMES + (frameLimit % BATCH_FRAMES != 0 ? 1 : 0);
}

struct BatchTally {
  std::int64_t frames = 0;
  std::int64_t frameErrors = 0;  // frames with information errors left after decoding
  std::int64_t infoBits = 0;
  std::int64_t channelInfoErrors = 0;
  std::int64_t decodedInfoErrors = 0;
  std::int64_t iterations = 0;  // sweeps performed, summed over frames
  // How the decoded errors spread over the batches folded so far, for an interval of the BER
  // with the batch as the unit: errors in one frame are not independent, batches nearly are.
  // Formed in batch order by the combiner, so exact whatever the threads or processes.
  std::int64_t batches = 0;
  double batchErrorSquares = 0;    // the sum of each batch's decoded errors squared
  double batchErrorsByFrames = 0;  // the sum of each batch's decoded errors times its frames
  double batchFrameSquares = 0;    // the sum of each batch's frames squared

  // Counts one more folded batch into the spread.
  void addBatchSpread(const BatchTally& batch) {
    const auto errors = static_cast<double>(batch.decodedInfoErrors);
    const auto count = static_cast<double>(batch.frames);
    ++batches;
    batchErrorSquares += errors * errors;
    batchErrorsByFrames += errors * count;
    batchFrameSquares += count * count;
  }

  BatchTally& operator+=(const BatchTally& o) {
    frames += o.frames;
    frameErrors += o.frameErrors;
    infoBits += o.infoBits;
    channelInfoErrors += o.channelInfoErrors;
    decodedInfoErrors += o.decodedInfoErrors;
    iterations += o.iterations;
    batches += o.batches;
    batchErrorSquares += o.batchErrorSquares;
    batchErrorsByFrames += o.batchErrorsByFrames;
    batchFrameSquares += o.batchFrameSquares;
    return *this;
  }
  friend bool operator==(const BatchTally&, const BatchTally&) = default;
};

}  // namespace mtd::sweep
