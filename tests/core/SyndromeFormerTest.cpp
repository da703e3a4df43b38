#include <gtest/gtest.h>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

void clearRows(Simulation& sim) {
  sim.rows.infoErrors.fill(0);
  sim.rows.checkErrors.fill(0);
  sim.rows.syndrome.fill(0);
  sim.rows.difference.fill(0);
}

TEST(SyndromeFormer, FirstDefaultTrialBlock) {
  Simulation sim;
  testing::loadDefaults(sim);
  sim.params.decodeCursor = 500;
  generateInfoNoise(sim, nullptr);
  generateCheckNoise(sim, nullptr);
  formSyndrome(sim, nullptr);
  EXPECT_EQ(sim.blockTally.weights[0], 416);
  EXPECT_EQ(testing::onesOf(sim.rows.syndrome.data(), 1000, 10),
            (std::vector<int>{2, 7, 8, 9, 10, 12, 16, 17, 21, 22}));
  EXPECT_EQ(sim.params.decodeCursor, 31);
}

TEST(SyndromeFormer, SingleErrorReachesItsTenChecks) {
  Simulation sim;
  testing::loadDefaults(sim);
  clearRows(sim);
  sim.rows.infoErrors[990] = 1;
  formSyndrome(sim, nullptr);
  EXPECT_EQ(testing::onesOf(sim.rows.syndrome.data(), 1000),
            (std::vector<int>{14, 65, 100, 141, 173, 247, 401, 416, 486, 990}));
  EXPECT_EQ(sim.blockTally.weights[0], 10);
}

TEST(SyndromeFormer, WithoutCodeTapsTheSyndromeIsTheCheckErrors) {
  Simulation sim;
  testing::loadDefaults(sim);
  clearRows(sim);
  sim.params.ndn = 1;
  sim.rows.infoErrors[3] = 1;
  sim.rows.checkErrors[7] = sim.rows.syndrome[7] = 1;
  sim.rows.checkErrors[9] = sim.rows.syndrome[9] = 1;
  formSyndrome(sim, nullptr);
  EXPECT_EQ(testing::onesOf(sim.rows.syndrome.data(), 1000), (std::vector<int>{7, 9}));
  EXPECT_EQ(sim.blockTally.weights[0], 2);
}

TEST(SyndromeFormer, TapEqualToBlockLengthAndEqualTapsCancel) {
  Simulation sim;
  testing::loadDefaults(sim);
  clearRows(sim);
  sim.params.nbl = 100;
  sim.params.ndn = 4;
  sim.params.kfp[1] = 100;  // the position itself
  sim.params.kfp[2] = 5;
  sim.params.kfp[3] = 5;  // equal to the previous tap: flips twice
  sim.rows.infoErrors[97] = 1;
  formSyndrome(sim, nullptr);
  EXPECT_EQ(testing::onesOf(sim.rows.syndrome.data(), 100), (std::vector<int>{97}));
  EXPECT_EQ(sim.params.decodeCursor, 4);
}

TEST(SyndromeFormer, AnimatedRepaintShowsTheFinishedRow) {
  Simulation sim;
  testing::loadDefaults(sim);
  generateInfoNoise(sim, nullptr);
  generateCheckNoise(sim, nullptr);
  testing::RecordingHooks hooks(sim);
  hooks.stopAtCheck = 10;
  formSyndrome(sim, &hooks);
  // The syndrome, its weight and the cursor are complete even though the repaint stopped.
  EXPECT_EQ(sim.blockTally.weights[0], 416);
  EXPECT_EQ(sim.params.decodeCursor, 31);
  ASSERT_EQ(hooks.cells.size(), 10u);
  EXPECT_EQ(hooks.cells[9].position, 9);
  EXPECT_EQ(hooks.cells[9].row, ROW_SYNDROME);
}

}  // namespace
}  // namespace mtd
