#include <gtest/gtest.h>

#include "SimProcess.h"
#include "TranscriptParsing.h"

namespace mtd::testing {
namespace {

// The default run is the same in every test; run it once for the whole program.
const SimOutcome& defaultRun() {
  static const SimOutcome outcome = [] {
    const ScratchDirectory empty;
    return runSim({}, empty.path());
  }();
  return outcome;
}

TEST(Transcript, DefaultRunOpensWithTheWorkedFirstBlock) {
  const SimOutcome& run = defaultRun();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = linesOf(run.out);
  ASSERT_GE(lines.size(), 12u);
  const std::vector<std::string> firstBlock = {
      "SHOWN BLOCK: TRIAL=0 | RAND=7, P=0.06, CODE=1/2, K=1000, D=23 | NOISE WEIGHT=122, START "
      "DISTANCE=416 | BLOCK NUMBER = 1 | CURRENT DISTANCE=122",
      "TOTAL STATISTIC:",
      "TOTAL ERRORS IN  1000 BITS, INF ERRORS=66, CHECK ERRORS=56 ",
      "DECODER ERRORS=66,54,51,41,26,10,1,0,0,0,0",
      "FINAL INFORMATION ERRORS=0",
      "BLOCK STATISTIC:",
      "INFORMATION BLOCK LENGTH=1000, INF ERRORS=66, CHECK ERRORS=56",
      "DECODER ERRORS=66,54,51,41,26,10,1,0,0,0,0",
      "SYNDROME WEIGHT=416,298,252,200,152,106,60,56,0,0,0",
      "START SYNDROME WEIGHT=416",
      "FINAL SYNDROME WEIGHT=56",
      "FINAL INFORMATION ERRORS=0"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 12), firstBlock);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "TRIALS=2000");
  EXPECT_EQ(lines.back(), "SHOWN BLOCKS=359");
}

TEST(Transcript, DefaultRunShowsTheKnownTrialsInOrder) {
  const Transcript t = parseTranscript(defaultRun().out);
  ASSERT_TRUE(t.wellFormed);
  ASSERT_EQ(t.blocks.size(), 359u);
  const std::vector<int> firstTrials = {t.blocks[0].trial, t.blocks[1].trial, t.blocks[2].trial,
                                        t.blocks[3].trial, t.blocks[4].trial};
  EXPECT_EQ(firstTrials, (std::vector<int>{0, 1, 8, 11, 16}));
  for (std::size_t n = 0; n < t.blocks.size(); ++n) {
    const ShownBlock& b = t.blocks[n];
    EXPECT_EQ(b.blockNumber, static_cast<int>(n) + 1);
    if (n > 0) {
      EXPECT_GT(b.trial, t.blocks[n - 1].trial);
    }
    EXPECT_LT(b.trial, 2000);
    EXPECT_EQ(b.rand, 7);
    EXPECT_EQ(b.k, 1000);
    EXPECT_EQ(b.d, 23);
  }
}

// Each statistics screen's totals are the previous totals plus the block just shown, and each
// block's lines agree with its status line and with a fully corrected decoding.
TEST(Transcript, TotalsAccumulateBlockByBlock) {
  const Transcript t = parseTranscript(defaultRun().out);
  ASSERT_TRUE(t.wellFormed);
  ASSERT_FALSE(t.blocks.empty());
  std::array<long, 3> errors{};
  std::array<long, 11> decoder{};
  for (const ShownBlock& b : t.blocks) {
    SCOPED_TRACE("trial " + std::to_string(b.trial));
    for (int i = 0; i < 3; ++i) errors[i] += b.blockErrors[i];
    for (int i = 0; i < 11; ++i) decoder[i] += b.blockDecoder[i];
    EXPECT_EQ(b.totalErrors, errors);
    EXPECT_EQ(b.totalDecoder, decoder);
    EXPECT_EQ(b.totalFinal, decoder[10]);

    EXPECT_EQ(b.blockErrors[0], 1000);
    EXPECT_EQ(b.noiseWeight, b.blockErrors[1] + b.blockErrors[2]);
    EXPECT_EQ(b.blockDecoder[0], b.blockErrors[1]);
    EXPECT_EQ(b.startDistance, b.startSyndrome);
    EXPECT_EQ(b.blockSyndrome[0], b.startSyndrome);
    // A shown block ends with every information error corrected: the flips are exactly the
    // channel's information errors and the syndrome is the check errors again.
    EXPECT_EQ(b.finalInfo, 0);
    EXPECT_EQ(b.blockDecoder[10], 0);
    EXPECT_EQ(b.finalSyndrome, b.blockErrors[2]);
    EXPECT_EQ(b.currentDistance, b.blockErrors[1] + b.finalSyndrome);
  }
  EXPECT_EQ(errors[0], 359L * 1000);
}

TEST(Transcript, ReadsTheConfigurationOfTheGivenDirectory) {
  const ScratchDirectory here;
  here.writeConfiguration(defaultConfigurationWith(1, "nbl=5000"));  // refused if read
  const ScratchDirectory there;
  there.writeConfiguration(defaultConfigurationWith(7, "maxBlock=40"));
  const SimOutcome run = runSim({"-C", there.path().string()}, here.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const Transcript t = parseTranscript(run.out);
  ASSERT_TRUE(t.wellFormed);
  EXPECT_EQ(t.trials, 40);
  // The first 40 trials of the defaults show trials 0, 1, 8, 11, 16 and more.
  ASSERT_GE(t.blocks.size(), 5u);
  EXPECT_EQ(t.blocks[4].trial, 16);
  EXPECT_EQ(t.shownBlocks, static_cast<int>(t.blocks.size()));

  // The same directory given relatively, from its parent.
  const SimOutcome relative =
      runSim({"-C", there.path().filename().string()}, there.path().parent_path());
  EXPECT_EQ(relative.status, 0);
  EXPECT_EQ(relative.out, run.out);
}

// A file without the marker is ignored, except that its maxBlock line still counts.
TEST(Transcript, UnmarkedFileRunsOnTheDefaultsWithItsMaxBlock) {
  const ScratchDirectory dir;
  std::string text = defaultConfigurationWith(2, "kst=99");
  text = text.substr(0, text.find("maxBlock")) + "maxBlock=17\nddn=22\n";
  dir.writeConfiguration(text);
  const SimOutcome run = runSim({}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const Transcript t = parseTranscript(run.out);
  ASSERT_TRUE(t.wellFormed);
  EXPECT_EQ(t.trials, 17);
  ASSERT_EQ(t.blocks.size(), 5u);  // trials 0, 1, 8, 11 and 16 of the defaults
  EXPECT_EQ(t.blocks[0].rand, 7);
  EXPECT_EQ(t.blocks[4].trial, 16);
}

TEST(Transcript, RunWithoutTrials) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=0"));
  const SimOutcome run = runSim({}, dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "TRIALS=0\nSHOWN BLOCKS=0\n");
}

}  // namespace
}  // namespace mtd::testing
