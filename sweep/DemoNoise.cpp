#include "sweep/DemoNoise.h"

#include "core/NoiseGenerator.h"

namespace mtd::sweep {

namespace {

std::uint64_t stepPacked(std::uint64_t x) {
  return NoiseJump::pack(NoiseGenerator::nextState(NoiseJump::unpack(x)));
}

}  // namespace

void DemoNoise::prepare(const SweepCode& code) {
  const SimParams& p = code.params;
  seedState_ = NoiseJump::pack(GeneratorState{NoiseGenerator::SEED_WORD_A, p.kst});
  if (p.nbl == nbl_ && p.stepsPerBit == stepsPerBit_) return;
  nbl_ = p.nbl;
  stepsPerBit_ = p.stepsPerBit;
  bitJump_.prepare(p.stepsPerBit);
  const Gf2Map bitMap = Gf2Map::ofSteps(stepPacked, p.stepsPerBit);
  // 2 * nbl bits per frame, by repeated squaring of the bit map.
  Gf2Map frame = Gf2Map::identity();
  Gf2Map power = bitMap;
  for (std::int64_t bits = 2 * std::int64_t{p.nbl}; bits != 0; bits >>= 1) {
    if (bits & 1) frame = power.after(frame);
    power = power.after(power);
  }
  framePowers_[0] = frame;
  for (int k = 1; k < FRAME_POWERS; ++k)
    framePowers_[k] = framePowers_[k - 1].after(framePowers_[k - 1]);
}

std::uint64_t DemoNoise::frameStart(std::int64_t frame) const {
  std::uint64_t state = seedState_;
  for (int k = 0; k < FRAME_POWERS && (frame >> k) != 0; ++k) {
    if ((frame >> k) & 1) state = framePowers_[k].apply(state);
  }
  return state;
}

void DemoNoise::fill(std::int32_t threshold, std::int64_t firstFrame, int lanes, std::uint64_t* out,
                     int stride) const {
  const std::int32_t positions = 2 * nbl_;
  // Every lane's generator state; the lanes' chains of lookups are independent, so stepping
  // them position by position keeps many in flight.
  std::uint64_t states[64];
  if (lanes > 0) states[0] = frameStart(firstFrame);
  for (int lane = 1; lane < lanes; ++lane) states[lane] = framePowers_[0].apply(states[lane - 1]);
  for (std::int32_t r = 0; r < positions; ++r) {
    std::uint64_t word = 0;
    for (int lane = 0; lane < lanes; ++lane) {
      const auto sample =
          static_cast<std::int32_t>(states[lane] >> 32) & NoiseGenerator::SAMPLE_MASK;
      word |= std::uint64_t{threshold >= sample} << lane;
      states[lane] = bitJump_.apply(states[lane]);
    }
    out[std::size_t(r) * stride] = word;
  }
}

}  // namespace mtd::sweep
