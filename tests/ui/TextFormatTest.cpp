#include <gtest/gtest.h>

#include <limits>

#include "core/Configuration.h"
#include "core/TextFormat.h"
#include "ui/TextLines.h"

namespace mtd {
namespace {

TEST(TextFormat, KeepsLinesOfAnyLengthWhole) {
  const std::string word(300, 'x');
  EXPECT_EQ(format("%s|%d", word.c_str(), -7), word + "|-7");
  EXPECT_EQ(format("%s", ""), "");
}

TEST(TextFormat, StatisticsLinesHoldTheWidestValues) {
  Simulation sim;
  loadConfigurationText(sim, std::nullopt);
  sim.blockTally.weights.fill(std::numeric_limits<std::int32_t>::min());
  const auto lines = statisticsLines(sim);
  std::string expected = "SYNDROME WEIGHT=-2147483648";
  for (int slot = 3; slot < TALLY_SLOTS; ++slot) expected += ",-2147483648";
  EXPECT_EQ(lines[7].text, expected);
}

}  // namespace
}  // namespace mtd
