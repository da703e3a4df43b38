#pragma once

#include <array>
#include <cstdint>

#include "core/NoiseJump.h"
#include "sweep/Gf2Map.h"
#include "sweep/PointSetup.h"

namespace mtd::sweep {

// The program's own generator, seeded as a Run seeds it: frame i starts from the state after
// i * 2 * nbl * stepsPerBit steps and draws its information bits, then its check bits, exactly
// as trial i of a Run does. The step is linear over GF(2), so the start of any frame is the seed
// state under a power of the frame map, formed from its binary powers.
class DemoNoise {
 public:
  // Rebuilds the maps when the code's block length or step count changed.
  void prepare(const SweepCode& code);

  // Frames firstFrame..firstFrame+lanes-1 (lanes <= 64) into bit 0..lanes-1 of out[r * stride],
  // r < 2 * nbl; the other bits are cleared.
  void fill(std::int32_t threshold, std::int64_t firstFrame, int lanes, std::uint64_t* out,
            int stride) const;

  // The packed generator state at the start of a frame.
  std::uint64_t frameStart(std::int64_t frame) const;

 private:
  static constexpr int FRAME_POWERS = 63;
  std::int32_t nbl_ = -1;
  std::int32_t stepsPerBit_ = -1;
  std::uint64_t seedState_ = 0;
  NoiseJump bitJump_;
  std::array<Gf2Map, FRAME_POWERS> framePowers_{};  // frame map to the power 2^k
};

}  // namespace mtd::sweep
