#include "ui/TextLines.h"

#include "core/TextFormat.h"

namespace mtd {

namespace {

// Eleven values: the slot before decoding, then the ten per-iteration slots.
std::string elevenValues(const char* name, std::int32_t first,
                         const std::array<std::int32_t, TALLY_SLOTS>& slots) {
  std::string line = format("%s=%ld", name, static_cast<long>(first));
  for (int slot = SLOT_FIRST_ITERATION; slot < TALLY_SLOTS; ++slot)
    line += format(",%ld", static_cast<long>(slots[slot]));
  return line;
}

}  // namespace

std::string runParametersLine(const SimParams& params) {
  return format("RAND=%d, P=%4.2f, CODE=1/2, K=%d, D=%d", params.kst, static_cast<double>(params.p),
                params.nbl, params.codeDistance);
}

std::string noiseLine(std::int32_t noiseWeight, std::int32_t startDistance) {
  return format("NOISE WEIGHT=%d, START DISTANCE=%d", noiseWeight, startDistance);
}

std::string blockNumberLine(std::int32_t blockNumber) {
  return format("BLOCK NUMBER = %d", blockNumber);
}

std::string iterationLine(std::int32_t iteration) {
  return format("ITERATION NUMBER=%d", iteration + 1);
}

std::string distanceLine(std::int32_t distance) { return format("CURRENT DISTANCE=%d", distance); }

std::string trialProgressLine(std::int32_t trialsDone, std::int32_t maxBlock) {
  return format("TRIAL=%d OF %d", trialsDone, maxBlock);
}

std::array<StatisticsLine, STATISTICS_LINE_COUNT> statisticsLines(const Simulation& sim) {
  const ErrorTally& total = sim.totalTally;
  const ErrorTally& block = sim.blockTally;
  using F = TextFont;
  using C = TextColour;
  return {{
      {-100, F::Large, C::Yellow, "TOTAL STATISTIC:"},
      {-60, F::Small, C::White,
       format("TOTAL ERRORS IN  %ld BITS, INF ERRORS=%ld, CHECK ERRORS=%ld ",
              static_cast<long>(total.counts[SLOT_BITS]),
              static_cast<long>(total.counts[SLOT_INFO_ERRORS]),
              static_cast<long>(total.counts[SLOT_CHECK_ERRORS]))},
      {-40, F::Small, C::White,
       elevenValues("DECODER ERRORS", total.counts[SLOT_INFO_ERRORS], total.counts)},
      {-20, F::Small, C::White,
       format("FINAL INFORMATION ERRORS=%d", total.counts[SLOT_LAST_ITERATION])},
      {30, F::Large, C::Yellow, "BLOCK STATISTIC:"},
      {70, F::Small, C::White,
       format("INFORMATION BLOCK LENGTH=%ld, INF ERRORS=%ld, CHECK ERRORS=%ld",
              static_cast<long>(block.counts[SLOT_BITS]),
              static_cast<long>(block.counts[SLOT_INFO_ERRORS]),
              static_cast<long>(block.counts[SLOT_CHECK_ERRORS]))},
      {90, F::Small, C::White,
       elevenValues("DECODER ERRORS", block.counts[SLOT_INFO_ERRORS], block.counts)},
      {110, F::Small, C::White,
       elevenValues("SYNDROME WEIGHT", block.weights[SLOT_START_WEIGHT], block.weights)},
      {160, F::Small, C::Green,
       format("START SYNDROME WEIGHT=%ld", static_cast<long>(block.weights[SLOT_START_WEIGHT]))},
      {180, F::Small, C::Green,
       format("FINAL SYNDROME WEIGHT=%d", sim.decoder.finalSyndromeWeight)},
      {200, F::Small, C::Green, format("FINAL INFORMATION ERRORS=%d", sim.decoder.finalInfoErrors)},
  }};
}

}  // namespace mtd
