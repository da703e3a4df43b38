#pragma once

#include <cstdint>

namespace mtd::sweep {

// Frames are simulated in batches of this many, in a fixed order; a point's stop rule is tested
// at batch ends only, so the counts never depend on threads or speed. A multiple of 512 so that
// every lane width fills whole words.
inline constexpr std::int64_t BATCH_FRAMES = 1024;

// Batches needed for frameLimit frames; the last one may be short.
inline std::int64_t batchCount(std::int64_t frameLimit) {
  return frameLimit <= 0 ? 0 : (frameLimit + BATCH_FRAMES - 1) / BATCH_FRAMES;
}

struct BatchTally {
  std::int64_t frames = 0;
  std::int64_t frameErrors = 0;  // frames with information errors left after decoding
  std::int64_t infoBits = 0;
  std::int64_t channelInfoErrors = 0;
  std::int64_t decodedInfoErrors = 0;
  std::int64_t iterations = 0;  // sweeps performed, summed over frames

  BatchTally& operator+=(const BatchTally& o) {
    frames += o.frames;
    frameErrors += o.frameErrors;
    infoBits += o.infoBits;
    channelInfoErrors += o.channelInfoErrors;
    decodedInfoErrors += o.decodedInfoErrors;
    iterations += o.iterations;
    return *this;
  }
  friend bool operator==(const BatchTally&, const BatchTally&) = default;
};

}  // namespace mtd::sweep
