#include <gtest/gtest.h>

#include <random>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

const char* const DEFAULT_FILE =
    "nbl=1000\n"
    "kst=7\n"
    "p=0.06\n"
    "ndn=11 word\n"
    "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
    "856,899,922}\n"
    "ktrh={10,2,1,0,0,0,0,0,0,0,0,0}\n"
    "maxBlock=2000\n"
    "ddn=22\n"
    "check\n";

std::string withLine(int line, const std::string& replacement, std::string text = DEFAULT_FILE) {
  std::size_t start = 0;
  for (int i = 0; i < line; ++i) start = text.find('\n', start) + 1;
  const std::size_t end = text.find('\n', start);
  return text.replace(start, end - start, replacement);
}

LoadResult load(Simulation& sim, const std::string& text) {
  return loadConfigurationText(sim, text);
}

void expectDefaults(const Simulation& sim) {
  const SimParams& p = sim.params;
  EXPECT_EQ(p.nbl, 1000);
  EXPECT_EQ(p.kst, 7);
  EXPECT_EQ(p.p, 0.06f);
  EXPECT_EQ(p.ndn, 11);
  EXPECT_EQ(p.kfp, DEFAULT_KFP);
  EXPECT_EQ(p.ktrh, DEFAULT_KTRH);
  EXPECT_EQ(p.noiseThreshold, 59);
  EXPECT_EQ(p.stepsPerBit, 6);
  EXPECT_EQ(p.codeDistance, 23);
  EXPECT_EQ(p.decodeCursor, 31);
}

TEST(Configuration, MissingFileGivesTheDefaults) {
  Simulation sim;
  sim.blockTally.counts[4] = 9;
  const LoadResult r = loadConfigurationText(sim, std::nullopt);
  EXPECT_FALSE(r.fileFound);
  EXPECT_FALSE(r.accepted);
  EXPECT_TRUE(r.rejection.empty());
  expectDefaults(sim);
  EXPECT_EQ(sim.params.maxBlock, 2000);
  EXPECT_EQ(sim.blockTally.counts[4], 0);
  EXPECT_EQ(sim.generator.saveState(), (GeneratorState{7799, 7}));
}

TEST(Configuration, MarkedFileIsReadAndCrLfLinesToo) {
  for (bool crlf : {false, true}) {
    std::string text = DEFAULT_FILE;
    if (crlf) {
      std::string converted;
      for (char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
      text = converted;
    }
    Simulation sim;
    const LoadResult r = load(sim, text);
    EXPECT_TRUE(r.accepted) << crlf;
    expectDefaults(sim);
  }
}

TEST(Configuration, NoiseThresholdTruncatesTheSinglePrecisionProduct) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"p=0.05", 50}, {"p=0.07", 70},  {"p=0.08", 79},   {"p=0.1", 100},
      {"p=0", 0},     {"p= 0.06", 59}, {"p=-0.001", -1}, {"p=-0.0005", 0}};
  for (const auto& [line, threshold] : cases) {
    Simulation sim;
    EXPECT_TRUE(load(sim, withLine(2, line)).accepted) << line;
    EXPECT_EQ(sim.params.noiseThreshold, threshold) << line;
  }
}

TEST(Configuration, BlockLengthIsRaisedToTheMarkedTap) {
  Simulation sim;
  load(sim, withLine(0, "nbl=500"));
  EXPECT_EQ(sim.params.nbl, 856);
  EXPECT_EQ(sim.params.decodeCursor, 26);

  load(sim, withLine(7, "ddn=10"));
  EXPECT_EQ(sim.params.kfp[0], 10);
  EXPECT_EQ(sim.params.codeDistance, 11);
  EXPECT_EQ(sim.params.nbl, 1000);
}

TEST(Configuration, StepsPerBitFollowsTheNdnAsRead) {
  const std::vector<std::pair<int, int>> table = {
      {1, 4513}, {2, 566}, {3, 170}, {4, 73}, {5, 39}, {6, 23}, {7, 16}, {8, 11}, {9, 9},
      {10, 7},   {11, 6},  {12, 5},  {13, 5}, {14, 4}, {16, 4}, {17, 3}, {20, 3}};
  for (const auto& [ndn, steps] : table) {
    Simulation sim;
    EXPECT_TRUE(load(sim, withLine(3, "ndn=" + std::to_string(ndn) + " word")).accepted);
    EXPECT_EQ(sim.params.stepsPerBit, steps) << ndn;
    EXPECT_EQ(sim.params.ndn, std::min(ndn, 11)) << ndn;
  }
}

TEST(Configuration, RejectedFilesTakeTheDefaultsButKeepMaxBlock) {
  Simulation sim;
  std::string noLineFeed = DEFAULT_FILE;
  noLineFeed.pop_back();  // "check" without a line feed
  EXPECT_FALSE(load(sim, noLineFeed).accepted);

  std::string text = withLine(6, "maxBlock=50");
  text = text.replace(text.find("nbl=1000"), 8, "nbl=300");
  text = text.replace(text.find("kst=7"), 5, "kst=99");
  text = text.replace(text.find("check"), 5, "Check");
  const LoadResult r = load(sim, text);
  EXPECT_TRUE(r.fileFound);
  EXPECT_FALSE(r.accepted);
  EXPECT_TRUE(r.rejection.empty());  // an unmarked file is refused silently
  expectDefaults(sim);
  EXPECT_EQ(sim.params.maxBlock, 50);
}

TEST(Configuration, FailedScansKeepEarlierValues) {
  Simulation sim;
  load(sim, withLine(0, "nbl=1200"));
  EXPECT_EQ(sim.params.nbl, 1200);
  // A blank before the equals sign: the scan fails and nbl keeps 1200.
  EXPECT_TRUE(load(sim, withLine(0, "nbl =900")).accepted);
  EXPECT_EQ(sim.params.nbl, 1200);

  // Ten taps and the closing brace: kfp[10..24] keep their earlier values.
  load(sim, withLine(4, "kfp={5,0,1,2,3,4,5,6,7,8}"));
  EXPECT_EQ(sim.params.kfp[1], 0);
  EXPECT_EQ(sim.params.kfp[9], 8);
  EXPECT_EQ(sim.params.kfp[10], 496);
  EXPECT_EQ(sim.params.kfp[0], 22);  // the ddn line replaces the first number
}

TEST(Configuration, CommentsAfterTheFieldsAreIgnored) {
  std::string text =
      "nbl=1000 block length\nkst=7 seed\np=0.06 probability\nndn=11 checks per bit\n"
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
      "856,899,922} taps\nktrh={10,2,1,0,0,0,0,0,0,0,0,0} thresholds\nmaxBlock=2000 trials\n"
      "ddn=22 marked taps\ncheck\nanything after the marker is never read\n";
  Simulation sim;
  // A line after the marker is not read: the file is accepted.
  EXPECT_TRUE(load(sim, text).accepted);
  expectDefaults(sim);
}

TEST(Configuration, NdnLineWithoutAWordSwallowsTheTapLine) {
  Simulation sim;
  std::string previous = withLine(6, "maxBlock=77");
  previous = previous.replace(previous.find("ktrh={10,2,1"), 12, "ktrh={9,3,1");
  previous = previous.replace(previous.find("ddn=22"), 6, "ddn=10");
  ASSERT_TRUE(load(sim, previous).accepted);

  // The word is the whole kfp line; every later scan meets the line after its own, and the
  // skip after the ddn scan consumes the marker, which then stays in the line buffer.
  const std::string text = withLine(3, "ndn=11");
  EXPECT_TRUE(load(sim, text).accepted);
  EXPECT_EQ(sim.params.maxBlock, 77);
  EXPECT_EQ(sim.params.ktrh[0], 9);
  EXPECT_EQ(sim.params.ktrh[1], 3);
  EXPECT_EQ(sim.params.kfp[0], 10);
  EXPECT_EQ(sim.params.codeDistance, 11);

  // With any line after the marker, the final read finds it and the file is rejected.
  const LoadResult r = load(sim, text + "more\n");
  EXPECT_FALSE(r.accepted);
  expectDefaults(sim);
  EXPECT_EQ(sim.params.maxBlock, 77);
}

TEST(Configuration, LimitBreachesRejectTheWholeFileWithAMessage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {withLine(0, "nbl=5000"),
       "init.txt: nbl=5000 is above the block capacity 2200; defaults used"},
      // ddn 0 marks no tap, so nothing raises nbl.
      {withLine(0, "nbl=0", withLine(7, "ddn=0")), "init.txt: nbl=0 is below 1; defaults used"},
      {withLine(7, "ddn=32"), "init.txt: ddn=32 (kfp[0]) is outside 0..31; defaults used"},
      {withLine(7, "ddn=-1"), "init.txt: ddn=-1 (kfp[0]) is outside 0..31; defaults used"},
      {withLine(3, "ndn=0 w"), "init.txt: ndn=0 is below 1; defaults used"},
      {withLine(5, "ktrh={11,2,1,0,0,0,0,0,0,0,0,0}"),
       "init.txt: ktrh[0]=11 is above 10, the iterations the tallies hold; defaults used"},
      {withLine(4,
                "kfp={22,0,24,75,1110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,"
                "796,814,824,856,899,922}"),
       "init.txt: kfp[4]=1110 is outside the taps' range 0..nbl (0..1000); defaults used"},
      {withLine(4,
                "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,"
                "796,-814,824,856,899,922}"),
       "init.txt: kfp[20]=-814 is outside the taps' range 0..nbl (0..1000); defaults used"},
      {withLine(3, "ndn=11 " + std::string(200, 'x')),
       "init.txt: the word after the ndn value has 200 characters, above 199; defaults used"},
      {withLine(2, "p=3000000"),
       "init.txt: p=3e+06 gives no noise threshold in the 32-bit range; defaults used"},
      {withLine(2, "p=nan"),
       "init.txt: p=nan gives no noise threshold in the 32-bit range; defaults used"},
      {withLine(0, "nbl=100") + "", ""},  // raised to 856: within every limit
  };
  for (const auto& [text, message] : cases) {
    Simulation sim;
    sim.params.maxBlock = 5;
    const LoadResult r = load(sim, text);
    EXPECT_EQ(r.rejection, message);
    if (message.empty()) {
      EXPECT_TRUE(r.accepted);
      continue;
    }
    EXPECT_FALSE(r.accepted);
    expectDefaults(sim);
    EXPECT_EQ(sim.params.maxBlock, 2000);  // the file's own maxBlock line still counts
  }
}

TEST(Configuration, RaisedBlockLengthAboveCapacityIsNamed) {
  Simulation sim;
  const std::string text = withLine(
      4,
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
      "2300,899,922}");
  const LoadResult r = load(sim, text);
  EXPECT_EQ(r.rejection,
            "init.txt: nbl=2300 (raised from 1000 to kfp[22]) is above the block capacity 2200; "
            "defaults used");
}

TEST(Configuration, LongLinesAreSkippedOnlyInPart) {
  // The rest of the nbl line is longer than 199 characters: the skip stops inside it, the kst
  // scan fails there, and its skip consumes the rest. Every later scan is one line behind.
  Simulation sim;
  load(sim, DEFAULT_FILE);
  const std::string text = withLine(0, "nbl=1000" + std::string(250, '#'));
  const LoadResult r = load(sim, text);
  EXPECT_FALSE(r.accepted);
}

TEST(Configuration, ArbitraryBytesNeverBreakTheLoader) {
  std::mt19937 random(20261208);
  const std::string alphabet = "nblkstpdfrhcmaxBoe=0123456789{},.- \n\r\t\x01\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 600);
    // Half of the inputs start from a valid file and are mutated.
    if (round % 2 == 0) text = DEFAULT_FILE;
    for (int i = 0; i < length; ++i) {
      const char c = alphabet[random() % alphabet.size()];
      if (!text.empty() && round % 2 == 0) {
        text[random() % text.size()] = c;
      } else {
        text.push_back(c);
      }
    }
    Simulation sim;
    const LoadResult r = load(sim, text);
    const SimParams& p = sim.params;
    ASSERT_GE(p.nbl, 1);
    ASSERT_LE(p.nbl, BLOCK_CAPACITY);
    ASSERT_GE(p.kfp[0], 0);
    ASSERT_LT(p.kfp[0], KFP_SIZE);
    ASSERT_LE(p.ktrh[0], MAX_ITERATIONS);
    if (r.accepted) {
      // A configuration in use decodes a block without reading outside a row.
      testing::runSilentBlock(sim);
    }
  }
}

}  // namespace
}  // namespace mtd
