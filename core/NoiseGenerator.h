#pragma once

#include <cstdint>

namespace mtd {

struct GeneratorState {
  std::int32_t wordA = 0;
  std::int32_t wordB = 0;
  friend bool operator==(const GeneratorState&, const GeneratorState&) = default;
};

// Two-word shift-and-exclusive-or generator. The low 10 bits of wordB are the sample.
class NoiseGenerator {
 public:
  static constexpr std::int32_t SAMPLE_MASK = 1023;
  static constexpr std::int32_t WORD_MASK = 0x1FFFFF;
  static constexpr std::int32_t SEED_WORD_A = 7799;

  void seed(std::int32_t kst) { state_ = {SEED_WORD_A, kst}; }
  GeneratorState saveState() const { return state_; }
  void restoreState(const GeneratorState& state) { state_ = state; }

  std::int32_t sample() const { return state_.wordB & SAMPLE_MASK; }

  void step() { state_ = nextState(state_); }

  // One error bit: the sample taken before the steps, then stepsPerBit steps.
  int drawErrorBit(std::int32_t stepsPerBit, std::int32_t noiseThreshold) {
    const std::int32_t s = sample();
    for (std::int32_t n = 0; n < stepsPerBit; ++n) step();
    return noiseThreshold >= s ? 1 : 0;
  }

  static constexpr GeneratorState nextState(GeneratorState s) {
    const std::uint32_t t = static_cast<std::uint32_t>(s.wordA ^ s.wordB);
    // The right shift must copy the sign bit; C++20 defines >> on negative values so.
    const std::int32_t shifted = s.wordA >> 21;
    const std::int32_t mixed = static_cast<std::int32_t>(t << 10);  // keep the low 32 bits
    return {shifted ^ mixed, s.wordA & WORD_MASK};
  }

 private:
  GeneratorState state_{};
};

}  // namespace mtd
