#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace mtd::cli::record {

// The parts of a shown block's animation, in the order the window shows them.
enum class Phase { Noise, Syndrome, Decoding, Wait, Statistics };
inline constexpr int PHASE_COUNT = 5;
inline constexpr std::array<std::string_view, PHASE_COUNT> PHASE_NAMES = {
    "noise", "syndrome", "decoding", "wait", "statistics"};

constexpr std::string_view phaseName(Phase phase) { return PHASE_NAMES[static_cast<int>(phase)]; }
std::optional<Phase> phaseNamed(std::string_view name);

// The length of each part of one block: animated steps for the passes (one step per cell of
// a pass, one per position of a decoder sweep), milliseconds for the two timed waits.
struct BlockPlan {
  std::int32_t blockNumber = 0;    // from 1
  std::int32_t trial = 0;          // from 0
  std::int64_t noiseSteps = 0;     // both noise passes
  std::int64_t syndromeSteps = 0;  // the syndrome pass
  std::int64_t decodingSteps = 0;  // every sweep of every iteration
  int waitMilliseconds = 5000;
  int statisticsMilliseconds = 5000;
};

// Frames of one animated part: the first step, every `stepsPerFrame`-th after it, and the
// last step when that is not already one of them.
std::int64_t animatedFrames(std::int64_t steps, std::int64_t stepsPerFrame);
// Frames of a timed wait at `fps` frames per second, rounded to the nearest frame.
std::int64_t waitFrames(int milliseconds, int fps);

}  // namespace mtd::cli::record
