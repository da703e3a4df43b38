#include <gtest/gtest.h>

#include <climits>
#include <numeric>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

using testing::Flip;

// Loads the defaults and skips the first `skip` trial blocks, leaving the next one's noise and
// syndrome formed, ready to decode.
void prepareTrial(Simulation& sim, int skip) {
  testing::loadDefaults(sim);
  for (int t = 0; t < skip; ++t) testing::runSilentBlock(sim);
  sim.clearBlockTally();
  generateInfoNoise(sim, nullptr);
  generateCheckNoise(sim, nullptr);
  formSyndrome(sim, nullptr);
  sim.decoder.currentDistance = sim.blockTally.weights[0];
}

std::vector<int> slots(const std::array<std::int32_t, TALLY_SLOTS>& a, int from, int to) {
  return std::vector<int>(a.begin() + from, a.begin() + to);
}

TEST(Decoder, FirstDefaultBlockIterationByIteration) {
  Simulation sim;
  prepareTrial(sim, 0);
  testing::RecordingHooks hooks(sim);
  decodeBlock(sim, &hooks);

  EXPECT_EQ(hooks.headers, 1);
  EXPECT_EQ(hooks.iterations, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  ASSERT_GE(hooks.steps.size(), 2u);
  EXPECT_EQ(hooks.steps[0], 32);  // the sweep starts after the cursor 31
  EXPECT_EQ(hooks.steps.size(), 7000u);
  EXPECT_EQ(hooks.steps[999], 31);

  std::array<int, 7> flipsPerIteration{};
  for (const Flip& f : hooks.flips) ++flipsPerIteration[f.iteration];
  EXPECT_EQ(flipsPerIteration, (std::array<int, 7>{18, 11, 22, 19, 16, 9, 1}));
  const std::vector<Flip> firstFlips(hooks.flips.begin(), hooks.flips.begin() + 8);
  EXPECT_EQ(firstFlips[0], (Flip{0, 83, 8}));
  EXPECT_EQ(firstFlips[1], (Flip{0, 177, 8}));
  EXPECT_EQ(firstFlips[2], (Flip{0, 307, 8}));
  EXPECT_EQ(firstFlips[3], (Flip{0, 356, 8}));
  EXPECT_EQ(firstFlips[4].position, 369);
  EXPECT_EQ(firstFlips[5], (Flip{0, 451, 9}));
  EXPECT_EQ(firstFlips[6].position, 521);
  EXPECT_EQ(firstFlips[7].position, 586);
  // Distance after the 18 flips of the first iteration.
  EXPECT_EQ(hooks.distances[17], 316);

  const ErrorTally& t = sim.blockTally;
  EXPECT_EQ(slots(t.counts, 3, 10), (std::vector<int>{54, 51, 41, 26, 10, 1, 0}));
  EXPECT_EQ(slots(t.weights, 3, 10), (std::vector<int>{298, 252, 200, 152, 106, 60, 56}));
  // The animated stop at k = 6 fills the unrun count slots with the final count, 0.
  EXPECT_EQ(slots(t.counts, 10, 13), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(slots(t.weights, 10, 13), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(sim.decoder.lastIteration, 6);
  EXPECT_EQ(sim.decoder.finalInfoErrors, 0);
  EXPECT_EQ(sim.decoder.finalSyndromeWeight, 56);
  EXPECT_EQ(sim.decoder.currentDistance, 122);
  EXPECT_EQ(testing::onesOf(sim.rows.difference.data(), 1000).size(), 66u);
  EXPECT_EQ(sim.params.decodeCursor, 31);
  // The animated decoding adds the block to the totals.
  EXPECT_EQ(sim.totalTally.counts, t.counts);
  EXPECT_EQ(sim.totalTally.weights, t.weights);
}

TEST(Decoder, ThirdDefaultBlockStopsOnEqualCounts) {
  Simulation sim;
  prepareTrial(sim, 2);
  EXPECT_EQ(sim.blockTally.counts[1], 58);
  EXPECT_EQ(sim.blockTally.counts[2], 62);
  EXPECT_EQ(sim.blockTally.weights[0], 382);
  testing::RecordingHooks hooks(sim);
  decodeBlock(sim, &hooks);
  EXPECT_EQ(slots(sim.blockTally.counts, 3, 9), (std::vector<int>{57, 59, 64, 70, 69, 69}));
  std::array<int, 6> flipsPerIteration{};
  for (const Flip& f : hooks.flips) ++flipsPerIteration[f.iteration];
  EXPECT_EQ(flipsPerIteration, (std::array<int, 6>{11, 10, 21, 12, 1, 0}));
  EXPECT_EQ(sim.decoder.lastIteration, 5);
  EXPECT_EQ(sim.decoder.finalInfoErrors, 69);
  EXPECT_EQ(sim.decoder.finalSyndromeWeight, 204);
  EXPECT_EQ(sim.decoder.currentDistance, 255);
  // The fill: counts[9] to counts[12] equal the final 69 in an animated decoding.
  EXPECT_EQ(slots(sim.blockTally.counts, 9, 13), (std::vector<int>{69, 69, 69, 69}));
}

TEST(Decoder, SilentAndAnimatedDecodingsAgreeOnManyBlocks) {
  Simulation sim;
  testing::loadDefaults(sim);
  for (int trial = 0; trial < 60; ++trial) {
    sim.clearBlockTally();
    const GeneratorState saved = sim.generator.saveState();
    generateInfoNoise(sim, nullptr);
    generateCheckNoise(sim, nullptr);
    formSyndrome(sim, nullptr);
    decodeBlock(sim, nullptr);
    const BlockState silentRows = sim.rows;
    const ErrorTally silentTally = sim.blockTally;
    const DecoderState silentDecoder = sim.decoder;
    const GeneratorState after = sim.generator.saveState();

    sim.generator.restoreState(saved);
    sim.clearBlockTally();
    testing::RecordingHooks hooks(sim);
    generateInfoNoise(sim, &hooks);
    generateCheckNoise(sim, &hooks);
    formSyndrome(sim, &hooks);
    decodeBlock(sim, &hooks);
    ASSERT_EQ(sim.generator.saveState(), after) << trial;
    const int nbl = sim.params.nbl;
    ASSERT_TRUE(std::equal(silentRows.infoErrors.begin(), silentRows.infoErrors.begin() + nbl,
                           sim.rows.infoErrors.begin()))
        << trial;
    ASSERT_TRUE(std::equal(silentRows.syndrome.begin(), silentRows.syndrome.begin() + nbl,
                           sim.rows.syndrome.begin()))
        << trial;
    ASSERT_TRUE(std::equal(silentRows.difference.begin(), silentRows.difference.begin() + nbl,
                           sim.rows.difference.begin()))
        << trial;
    ASSERT_EQ(sim.decoder.lastIteration, silentDecoder.lastIteration) << trial;
    ASSERT_EQ(sim.decoder.finalInfoErrors, silentDecoder.finalInfoErrors) << trial;
    // Slots up to the stopping iteration agree; the silent decoding leaves the rest at 0.
    const int last = 3 + sim.decoder.lastIteration;
    for (int slot = 0; slot <= last && slot < TALLY_SLOTS; ++slot) {
      ASSERT_EQ(sim.blockTally.counts[slot], silentTally.counts[slot]) << trial << " " << slot;
      ASSERT_EQ(sim.blockTally.weights[slot], silentTally.weights[slot]) << trial << " " << slot;
    }
  }
}

TEST(Decoder, SilentDecodingDoesNotFillUnrunSlots) {
  Simulation sim;
  prepareTrial(sim, 2);
  decodeBlock(sim, nullptr);
  EXPECT_EQ(slots(sim.blockTally.counts, 3, 13),
            (std::vector<int>{57, 59, 64, 70, 69, 69, 0, 0, 0, 0}));
  EXPECT_EQ(sim.decoder.lastIteration, 5);
  EXPECT_EQ(sim.totalTally.counts[0], 0);  // only animated decodings reach the totals
}

void setUpSmallBlock(Simulation& sim) {
  testing::loadDefaults(sim);
  sim.rows = BlockState{};
  sim.clearBlockTally();
  formSyndrome(sim, nullptr);
}

TEST(Decoder, BlockWithoutErrorsStopsAtOnce) {
  Simulation sim;
  setUpSmallBlock(sim);
  sim.decoder.lastIteration = 4;
  decodeBlock(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[3], 0);
  EXPECT_EQ(sim.decoder.lastIteration, 0);
  EXPECT_EQ(sim.decoder.finalInfoErrors, 0);
}

TEST(Decoder, NoIterationsKeepEarlierResults) {
  Simulation sim;
  setUpSmallBlock(sim);
  sim.params.ktrh[0] = 0;
  sim.decoder = {5, 3, 17, 21};
  testing::RecordingHooks hooks(sim);
  decodeBlock(sim, &hooks);
  EXPECT_EQ(hooks.headers, 1);
  EXPECT_TRUE(hooks.steps.empty());
  EXPECT_EQ(sim.decoder.lastIteration, 3);
  EXPECT_EQ(sim.decoder.finalInfoErrors, 17);
  EXPECT_EQ(sim.decoder.finalSyndromeWeight, 21);
  EXPECT_EQ(sim.totalTally.counts[0], sim.blockTally.counts[0]);
}

TEST(Decoder, IterationsRunningOutLeaveLastIterationUnchanged) {
  Simulation sim;
  prepareTrial(sim, 2);
  sim.params.ktrh[0] = 3;  // the equal-count stop would come at k = 5
  sim.decoder.lastIteration = 8;
  decodeBlock(sim, nullptr);
  EXPECT_EQ(sim.decoder.lastIteration, 8);
  EXPECT_EQ(sim.decoder.finalInfoErrors, 64);
  EXPECT_EQ(slots(sim.blockTally.counts, 3, 7), (std::vector<int>{57, 59, 64, 0}));
}

TEST(Decoder, SumEqualToThresholdDoesNotFlip) {
  Simulation sim;
  setUpSmallBlock(sim);
  // Seven of position 500's ten checks are one: S = 7.
  for (int j = 1; j <= 7; ++j) sim.rows.syndrome[500 + sim.params.kfp[j]] = 1;
  sim.params.ktrh[0] = 1;
  sim.params.ktrh[1] = 2;  // flips only above 7
  decodeBlock(sim, nullptr);
  EXPECT_EQ(sim.rows.difference[500], 0);

  setUpSmallBlock(sim);
  for (int j = 1; j <= 7; ++j) sim.rows.syndrome[500 + sim.params.kfp[j]] = 1;
  sim.params.ktrh[0] = 1;
  sim.params.ktrh[1] = 1;  // flips above 6
  sim.decoder.currentDistance = 7;
  decodeBlock(sim, nullptr);
  EXPECT_EQ(sim.rows.difference[500], 1);
  EXPECT_EQ(sim.decoder.currentDistance, 7 - 3);  // lowered by 2 x 7 - 11
  int after = sim.rows.difference[500];
  for (int j = 1; j <= 10; ++j) after += sim.rows.syndrome[500 + sim.params.kfp[j]];
  EXPECT_EQ(after, 4);
}

TEST(Decoder, HugeThresholdOffsetsNeitherOverflowNorFlip) {
  Simulation sim;
  prepareTrial(sim, 0);
  sim.params.ktrh[1] = 2147483647;
  sim.params.ktrh[0] = 1;
  decodeBlock(sim, nullptr);
  EXPECT_EQ(sim.blockTally.counts[3], 66);
  sim.params.ktrh[1] = -2147483647 - 1;  // every position flips
  prepareTrial(sim, 0);
  sim.params.ktrh[1] = -2147483647 - 1;
  sim.params.ktrh[0] = 1;
  decodeBlock(sim, nullptr);
  EXPECT_GT(testing::onesOf(sim.rows.difference.data(), 1000).size(), 500u);
}

// Silent decoding lowers the running distance block after block and only a shown block sets
// it again: after a few million silent blocks it passes the 32-bit range.
TEST(Decoder, RunningDistanceWrapsInsteadOfOverflowing) {
  Simulation sim;
  prepareTrial(sim, 0);
  sim.decoder.currentDistance = 0;
  decodeBlock(sim, nullptr);
  const std::int32_t change = sim.decoder.currentDistance;  // 122 - 416 for this block
  ASSERT_EQ(change, -294);

  for (const bool animated : {false, true}) {
    prepareTrial(sim, 0);
    sim.decoder.currentDistance = INT32_MIN + 100;
    testing::RecordingHooks hooks(sim);
    decodeBlock(sim, animated ? &hooks : nullptr);
    EXPECT_EQ(sim.decoder.currentDistance, INT32_MAX - 193) << animated;  // MIN + 100 - 294
  }
}

TEST(Decoder, InterruptedAnimatedDecodingAddsNothingToTotals) {
  Simulation sim;
  prepareTrial(sim, 0);
  testing::RecordingHooks hooks(sim);
  hooks.stopAtDecodeCheck = 1500;
  decodeBlock(sim, &hooks);
  EXPECT_EQ(sim.totalTally.counts[0], 0);
  EXPECT_EQ(sim.blockTally.counts[3], 54);  // the first iteration finished
  EXPECT_EQ(sim.blockTally.counts[4], 0);   // the second did not
  EXPECT_EQ(sim.params.decodeCursor, (31 + 1500) % 1000);
}

TEST(Decoder, TinyBlocksStartAtPositionZero) {
  for (int nbl : {1, 2}) {
    Simulation sim;
    testing::loadDefaults(sim);
    sim.params.nbl = nbl;
    sim.params.ndn = 2;
    sim.params.kfp[1] = 1;
    sim.rows = BlockState{};
    sim.rows.infoErrors[0] = 1;
    sim.clearBlockTally();
    formSyndrome(sim, nullptr);
    testing::RecordingHooks hooks(sim);
    decodeBlock(sim, &hooks);
    ASSERT_FALSE(hooks.steps.empty());
    EXPECT_EQ(hooks.steps[0], 0) << nbl;  // nbl/33 + 2 reaches nbl
  }
}

}  // namespace
}  // namespace mtd
