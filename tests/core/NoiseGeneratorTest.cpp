#include <gtest/gtest.h>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

TEST(NoiseGenerator, DefaultSeedGivesTheKnownSamplesAndWords) {
  NoiseGenerator g;
  g.seed(7);
  const std::vector<int> expectedSamples = {7, 709, 433, 403, 168, 405, 941, 729, 435, 141};
  std::vector<int> samples;
  std::vector<int> errors;
  for (int position = 0; position < 20; ++position) {
    if (position < 10) samples.push_back(g.sample());
    errors.push_back(g.drawErrorBit(6, 59));
  }
  EXPECT_EQ(samples, expectedSamples);
  EXPECT_EQ(errors[0], 1);
  for (int position = 1; position < 20; ++position) EXPECT_EQ(errors[position], 0) << position;
  EXPECT_EQ(g.saveState(), (GeneratorState{1792540262, 1826224}));
  EXPECT_EQ(g.saveState(), (GeneratorState{0x6AD7FE66, 0x1BDDB0}));
}

TEST(NoiseGenerator, RightShiftCopiesTheSignBit) {
  // wordA negative: the 21 vacated bits fill with ones.
  const GeneratorState next = NoiseGenerator::nextState({std::int32_t(0x80000000), 0});
  const std::int32_t expectedA = std::int32_t(0xFFFFFC00) ^ std::int32_t(0x00000000);
  // t = 0x80000000, t << 10 loses every bit; wordA >> 21 arithmetic = 0xFFFFFC00.
  EXPECT_EQ(next.wordA, expectedA);
  EXPECT_EQ(next.wordB, 0);
  // A logical shift would give 0x400 instead.
  EXPECT_NE(next.wordA, 0x400);
}

TEST(NoiseGenerator, SaveAndRestoreReplayTheSameBits) {
  NoiseGenerator g;
  g.seed(12345);
  for (int i = 0; i < 100; ++i) g.step();
  const GeneratorState saved = g.saveState();
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(g.drawErrorBit(6, 300));
  const GeneratorState after = g.saveState();
  g.restoreState(saved);
  std::vector<int> second;
  for (int i = 0; i < 50; ++i) second.push_back(g.drawErrorBit(6, 300));
  EXPECT_EQ(first, second);
  EXPECT_EQ(g.saveState(), after);
}

TEST(NoiseGenerator, ThresholdEdges) {
  NoiseGenerator g;
  g.seed(0);  // sample 0: a threshold of 0 still marks an error
  EXPECT_EQ(g.drawErrorBit(0, 0), 1);
  g.seed(0);
  EXPECT_EQ(g.drawErrorBit(0, -1), 0);
  g.seed(1023);
  EXPECT_EQ(g.drawErrorBit(0, 1023), 1);
  // No steps when stepsPerBit is below 1: the state stays.
  g.seed(5);
  g.drawErrorBit(-3, 10);
  EXPECT_EQ(g.saveState(), (GeneratorState{7799, 5}));
}

TEST(NoisePasses, FirstDefaultTrialBlock) {
  Simulation sim;
  testing::loadDefaults(sim);
  generateInfoNoise(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[0], 1000);
  EXPECT_EQ(sim.blockTally.counts[1], 66);
  const auto info = testing::onesOf(sim.rows.infoErrors.data(), 1000);
  ASSERT_EQ(info.size(), 66u);
  EXPECT_EQ(std::vector<int>(info.begin(), info.begin() + 10),
            (std::vector<int>{0, 22, 72, 77, 83, 87, 129, 154, 156, 177}));
  EXPECT_EQ(sim.generator.saveState(), (GeneratorState{489382649, 539255}));
  EXPECT_EQ(sim.generator.saveState(), (GeneratorState{0x1D2B62F9, 0x83A77}));

  generateCheckNoise(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[0], 1000);
  EXPECT_EQ(sim.blockTally.counts[2], 56);
  const auto check = testing::onesOf(sim.rows.checkErrors.data(), 1000);
  ASSERT_EQ(check.size(), 56u);
  EXPECT_EQ(std::vector<int>(check.begin(), check.begin() + 5),
            (std::vector<int>{24, 40, 89, 165, 173}));
  EXPECT_EQ(testing::onesOf(sim.rows.syndrome.data(), 1000), check);
  EXPECT_EQ(sim.generator.saveState(), (GeneratorState{1190923891, 1939268}));
}

TEST(NoisePasses, AnimatedPassesDrawTheSameBitsAndPaintEveryCell) {
  Simulation silent;
  testing::loadDefaults(silent);
  generateInfoNoise(silent, nullptr);
  generateCheckNoise(silent, nullptr);

  Simulation animated;
  testing::loadDefaults(animated);
  testing::RecordingHooks hooks(animated);
  generateInfoNoise(animated, &hooks);
  generateCheckNoise(animated, &hooks);
  EXPECT_EQ(animated.rows.infoErrors, silent.rows.infoErrors);
  EXPECT_EQ(animated.rows.checkErrors, silent.rows.checkErrors);
  EXPECT_EQ(animated.blockTally.counts, silent.blockTally.counts);
  EXPECT_EQ(animated.generator.saveState(), silent.generator.saveState());
  ASSERT_EQ(hooks.cells.size(), 2000u);
  EXPECT_EQ(hooks.checks, 2000);
  EXPECT_EQ(hooks.cells[0].row, ROW_INFORMATION);
  EXPECT_EQ(hooks.cells[999].position, 999);
  EXPECT_EQ(hooks.cells[1000].row, ROW_SYNDROME);
  EXPECT_EQ(hooks.cells[1000].position, 0);
}

TEST(NoisePasses, StoppedPassLeavesTheRestAndCountsOnlyProcessedPositions) {
  Simulation sim;
  testing::loadDefaults(sim);
  testing::RecordingHooks hooks(sim);
  hooks.stopAtCheck = 20;
  generateInfoNoise(sim, &hooks);
  EXPECT_EQ(sim.blockTally.counts[0], 20);
  EXPECT_EQ(sim.blockTally.counts[1], 1);  // only position 0 of the first 20 is in error
  EXPECT_EQ(sim.generator.saveState(), (GeneratorState{1792540262, 1826224}));
}

TEST(NoisePasses, ThresholdExtremesGiveEmptyAndFullRows) {
  Simulation sim;
  testing::loadDefaults(sim);
  sim.params.noiseThreshold = -1;
  generateInfoNoise(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[1], 0);
  sim.params.noiseThreshold = 1023;
  generateCheckNoise(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[2], 1000);
}

}  // namespace
}  // namespace mtd
