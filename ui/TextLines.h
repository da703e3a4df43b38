#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Simulation.h"

namespace mtd {

// The status lines of an animated decoding.
std::string runParametersLine(const SimParams& params);
std::string noiseLine(std::int32_t noiseWeight, std::int32_t startDistance);
std::string blockNumberLine(std::int32_t blockNumber);
std::string iterationLine(std::int32_t iteration);  // shows iteration + 1
std::string distanceLine(std::int32_t distance);

// How far a run has come in a long stretch without a shown block.
std::string trialProgressLine(std::int32_t trialsDone, std::int32_t maxBlock);

enum class TextFont { Small, Large };
enum class TextColour { Green, Cyan, White, Yellow };

struct StatisticsLine {
  int bandOffset;  // design y = bandHeight + bandOffset
  TextFont font;
  TextColour colour;
  std::string text;
};

inline constexpr int STATISTICS_LINE_COUNT = 11;

// The statistics screen from top to bottom: the totals over all shown blocks, then the block.
std::array<StatisticsLine, STATISTICS_LINE_COUNT> statisticsLines(const Simulation& sim);

// The order in which the statistics screen draws its lines, as indices into statisticsLines.
inline constexpr std::array<int, STATISTICS_LINE_COUNT> STATISTICS_DRAWING_ORDER = {
    5, 6, 7, 1, 2, 3, 8, 9, 10, 0, 4};

}  // namespace mtd
