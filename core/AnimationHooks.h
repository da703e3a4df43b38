#pragma once

#include <cstdint>

namespace mtd {

inline constexpr int ROW_DIFFERENCE = 0;
inline constexpr int ROW_INFORMATION = 1;
inline constexpr int ROW_SYNDROME = 2;

// What an animated pass asks of the display and the pacing. A silent pass is given no hooks
// and takes a separate code path, so it pays nothing for them.
class AnimationHooks {
 public:
  virtual ~AnimationHooks() = default;

  // Noise and syndrome passes: repaint one cell in the colour its row's rule gives now.
  virtual void repaintCell(std::int32_t position, int row) = 0;
  // After each cell of the noise and syndrome passes; true stops the pass.
  virtual bool stepCheck() = 0;

  // Decoder.
  virtual void drawBlockHeader() = 0;
  virtual void drawIterationLine(std::int32_t iteration) = 0;
  virtual void drawDistanceLine(std::int32_t distance) = 0;
  virtual void paintDecodeStep(std::int32_t position) = 0;
  // After each animated decoder step; true stops the decoding.
  virtual bool decodeStepCheck() = 0;
};

}  // namespace mtd
