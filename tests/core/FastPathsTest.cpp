// The silent passes (the table jump of the generator, the chunked decoder) against the animated
// step-by-step passes, over random configurations that the loader accepts: after every pass
// both must leave the same rows, tallies, decoder results, cursor and generator state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

constexpr std::int32_t INT_LOW = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t INT_HIGH = std::numeric_limits<std::int32_t>::max();

class ConfigurationMaker {
 public:
  explicit ConfigurationMaker(std::uint32_t seed) : random_(seed) {}

  // The text of an init.txt that keeps every limit; it varies what the fast paths depend on.
  std::string next() {
    const int ndn = checksPerBit();
    // One or two checks per bit draw a bit in 4513 or 566 generator steps: shorter blocks
    // keep the step-by-step passes quick.
    const int nbl = ndn <= 2 ? std::min(blockLength(), 200) : blockLength();
    const int ddn = pick(0, 24);
    std::array<int, 25> kfp{};
    for (int j = 1; j < 25; ++j) kfp[j] = pick(0, nbl);
    // A tap of nbl itself (the check at the bit's own position), and repeated taps.
    if (chance(2)) kfp[pick(1, std::clamp(ndn - 1, 1, 10))] = nbl;
    if (chance(3)) kfp[pick(2, 10)] = kfp[1];
    if (chance(6)) std::fill(kfp.begin() + 1, kfp.end(), chance(2) ? nbl : pick(0, nbl));
    kfp[0] = ddn;
    std::ostringstream text;
    text << "nbl=" << nbl << "\nkst=" << pick(INT_LOW, INT_HIGH) << "\np=" << probability()
         << "\nndn=" << ndn << " w\nkfp={";
    for (int j = 0; j < 25; ++j) text << (j ? "," : "") << kfp[j];
    text << "}\nktrh={" << pick(-1, MAX_ITERATIONS);
    for (int k = 1; k < 12; ++k) text << ',' << thresholdOffset();
    text << "}\nmaxBlock=5\nddn=" << ddn << "\ncheck\n";
    return text.str();
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool chance(int oneIn) { return pick(1, oneIn) == 1; }

 private:
  int blockLength() {
    switch (pick(0, 3)) {
      case 0:
        return pick(1, 40);
      case 1:
        return pick(BLOCK_CAPACITY - 40, BLOCK_CAPACITY);
      default:
        return pick(1, BLOCK_CAPACITY);
    }
  }
  // Mostly the range that gives decodable blocks, sometimes below 0 and above 1.
  std::string probability() {
    std::ostringstream text;
    text.precision(6);
    switch (pick(0, 3)) {
      case 0:
        text << -std::uniform_real_distribution<double>(0.0, 0.5)(random_);
        break;
      case 1:
        text << std::uniform_real_distribution<double>(1.0, 2.0)(random_);
        break;
      default:
        text << std::uniform_real_distribution<double>(0.0, 0.15)(random_);
    }
    return text.str();
  }
  int checksPerBit() {
    if (chance(4)) return pick(MAX_NDN_USED + 1, 30);
    if (chance(20)) return INT_HIGH;
    return pick(1, MAX_NDN_USED);
  }
  int thresholdOffset() {
    switch (pick(0, 5)) {
      case 0:
        return INT_LOW + pick(0, 10);
      case 1:
        return INT_HIGH - pick(0, 10);
      case 2:
        return pick(-300, 300);
      default:
        return pick(-8, 8);
    }
  }

  std::mt19937 random_;
};

// The positions of a row that a block uses.
std::vector<Bit> used(const auto& row, std::int32_t nbl) {
  return std::vector<Bit>(row.begin(), row.begin() + nbl);
}

void expectSameRows(const Simulation& silent, const Simulation& animated) {
  const std::int32_t nbl = animated.params.nbl;
  EXPECT_EQ(used(silent.rows.infoErrors, nbl), used(animated.rows.infoErrors, nbl));
  EXPECT_EQ(used(silent.rows.syndrome, nbl), used(animated.rows.syndrome, nbl));
  EXPECT_EQ(used(silent.rows.difference, nbl), used(animated.rows.difference, nbl));
  EXPECT_EQ(used(silent.rows.checkErrors, nbl), used(animated.rows.checkErrors, nbl));
}

// Everything but the decoder's counts of iterations it did not run, which only the animated
// decoding fills (with its final count).
void expectSameState(const Simulation& silent, const Simulation& animated) {
  expectSameRows(silent, animated);
  EXPECT_EQ(silent.generator.saveState(), animated.generator.saveState());
  EXPECT_EQ(silent.params.decodeCursor, animated.params.decodeCursor);
  EXPECT_EQ(silent.decoder.lastIteration, animated.decoder.lastIteration);
  EXPECT_EQ(silent.decoder.finalInfoErrors, animated.decoder.finalInfoErrors);
  EXPECT_EQ(silent.decoder.finalSyndromeWeight, animated.decoder.finalSyndromeWeight);
  EXPECT_EQ(silent.blockTally.weights, animated.blockTally.weights);
  for (int slot = 0; slot < TALLY_SLOTS; ++slot) {
    const std::int32_t s = silent.blockTally.counts[slot];
    const std::int32_t a = animated.blockTally.counts[slot];
    if (s == a) continue;
    const bool unrunSlot = slot > 3 + animated.decoder.lastIteration && s == 0 &&
                           a == animated.decoder.finalInfoErrors;
    EXPECT_TRUE(unrunSlot) << "counts[" << slot << "]: silent " << s << ", animated " << a;
  }
}

using Pass = void (*)(Simulation&, AnimationHooks*);

// Runs the pass both ways from the same state; the run goes on from the silent result.
void comparePass(Simulation& sim, Pass pass, const char* name) {
  Simulation animated = sim;
  testing::RecordingHooks hooks(animated);
  pass(sim, nullptr);
  pass(animated, &hooks);
  SCOPED_TRACE(name);
  expectSameState(sim, animated);
}

bool anyFailure() { return ::testing::Test::HasFailure(); }

TEST(FastPaths, EqualTheStepByStepPassesOnRandomConfigurations) {
  // MTD_FAST_PATH_SEED tries other configurations.
  const char* seedText = std::getenv("MTD_FAST_PATH_SEED");
  ConfigurationMaker maker(seedText ? std::stoul(seedText) : 20261209);
  int decodedWithFlips = 0;
  for (int trial = 0; trial < 300 && !anyFailure(); ++trial) {
    const std::string text = maker.next();
    SCOPED_TRACE(text);
    Simulation sim;
    const LoadResult load = loadConfigurationText(sim, text);
    ASSERT_TRUE(load.accepted) << load.rejection;
    for (int block = 0; block < 2 && !anyFailure(); ++block) {
      sim.clearBlockTally();
      comparePass(sim, generateInfoNoise, "information noise");
      comparePass(sim, generateCheckNoise, "check noise");
      comparePass(sim, formSyndrome, "syndrome");
      const std::int32_t before = countOnes(sim.rows.infoErrors.data(), sim.params.nbl);
      comparePass(sim, decodeBlock, "decoding");
      decodedWithFlips += before != sim.blockTally.counts[3];
    }
  }
  // The configurations must reach the decoder's flips, not only blocks it leaves alone.
  EXPECT_GT(decodedWithFlips, 100);
}

// Every step count the loader can derive lies in 3..4513 (ndn of 1 gives 4513); the jump table
// must equal that many generator steps for each of them, from states far from the seed.
TEST(FastPaths, NoiseJumpEqualsEveryStepCountFrom3To4513) {
  ConfigurationMaker maker(4513);
  Simulation sim;
  testing::loadDefaults(sim);
  for (std::int32_t steps = 3; steps <= 4513 && !anyFailure(); ++steps) {
    SCOPED_TRACE(steps);
    sim.params.stepsPerBit = steps;
    sim.params.nbl = maker.pick(1, 3);
    sim.params.noiseThreshold = maker.pick(-1, 1024);
    sim.generator.restoreState({maker.pick(INT_LOW, INT_HIGH), maker.pick(INT_LOW, INT_HIGH)});
    sim.clearBlockTally();
    comparePass(sim, steps % 2 ? generateInfoNoise : generateCheckNoise, "noise");
  }
}

}  // namespace
}  // namespace mtd
