// Show every block animates every trial block, the selection rule skipped; without it a run
// that shows nothing says so in the status area.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/NullRunHooks.h"
#include "control/RunController.h"
#include "core/Configuration.h"
#include "tests/control/ProgramHarness.h"

namespace mtd::testing {
namespace {

// The built-in code at p = 0.08, above what the decoder corrects: no trial block meets the
// selection rule, and every one is a decoding failure.
std::string failingConfiguration(int maxBlock) {
  return "nbl=1000\nkst=7\np=0.08\nndn=11 checks\n"
         "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,"
         "824,856,899,922}\nktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=" +
         std::to_string(maxBlock) + "\nddn=22\ncheck\n";
}

// Whether the window's texts, in order and joined by spaces, contain the part: a message
// wrapped into two lines is found whole.
bool anyTextContains(ProgramHarness& h, const std::string& part) {
  std::string joined;
  for (const std::string& text : h.ws().windowTexts()) joined.append(text).append(" ");
  return joined.find(part) != std::string::npos;
}

struct BlockFigures {
  int infoErrors;
  int checkErrors;
  int finalInfoErrors;
  int finalSyndromeWeight;
};

// The same trials decoded silently by the core, as mtd-sim decodes them.
std::vector<BlockFigures> silentTrials(const std::string& configuration, int count) {
  Simulation sim;
  NullRunHooks hooks(sim);
  RunController run(sim, hooks);
  loadConfigurationText(sim, configuration);
  std::vector<BlockFigures> figures;
  for (int trial = 0; trial < count; ++trial) {
    run.runSilentTrial();
    figures.push_back({sim.blockTally.counts[SLOT_INFO_ERRORS],
                       sim.blockTally.counts[SLOT_CHECK_ERRORS], sim.decoder.finalInfoErrors,
                       sim.decoder.finalSyndromeWeight});
  }
  return figures;
}

std::string blockLine(const BlockFigures& f) {
  return "INFORMATION BLOCK LENGTH=1000, INF ERRORS=" + std::to_string(f.infoErrors) +
         ", CHECK ERRORS=" + std::to_string(f.checkErrors);
}

TEST(ShowEveryBlock, IsOffAtStartAndTheMenuItemTogglesItsCheckMark) {
  ProgramHarness h;
  h.startUp();
  EXPECT_FALSE(h.flags().showEveryBlock);
  EXPECT_FALSE(h.ws().menuItemChecked(CMD_SHOW_EVERY));
  h.ws().postMenu(CMD_SHOW_EVERY);
  h.ws().whenMainLoopIdle([&] {
    EXPECT_TRUE(h.flags().showEveryBlock);
    EXPECT_TRUE(h.ws().menuItemChecked(CMD_SHOW_EVERY));
    h.ws().postMenu(CMD_SHOW_EVERY);
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_FALSE(h.flags().showEveryBlock);
  EXPECT_FALSE(h.ws().menuItemChecked(CMD_SHOW_EVERY));
}

// Above the threshold every block fails: with the option on each is animated, and what the
// statistics screen shows is what the silent decoding (and mtd-sim --trial N) finds.
TEST(ShowEveryBlock, AtP008ShowsEveryTrialsFailedDecodingWithItsOwnTallies) {
  constexpr int TRIALS = 2;
  const std::string configuration = failingConfiguration(TRIALS);
  ProgramHarness h(configuration);
  h.keepEvents(false);
  h.startUp();
  h.ws().postMenu(CMD_SHOW_EVERY);
  h.postRunAtFullSpeed();
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.program().runController().blocksShown(), TRIALS);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), TRIALS);
  const std::vector<BlockFigures> expected = silentTrials(configuration, TRIALS);
  // mtd-sim --trial 0 on this configuration: 83 information and 68 check errors, 116
  // information errors and a syndrome weight of 198 left after the decoding.
  EXPECT_EQ(expected[0].infoErrors, 83);
  EXPECT_EQ(expected[0].checkErrors, 68);
  EXPECT_EQ(expected[0].finalInfoErrors, 116);
  EXPECT_EQ(expected[0].finalSyndromeWeight, 198);
  for (int trial = 0; trial < TRIALS; ++trial) {
    const BlockFigures& f = expected[trial];
    EXPECT_GT(f.finalInfoErrors, 0) << "trial " << trial << " is a decoding failure";
    EXPECT_EQ(h.textCount("BLOCK NUMBER = " + std::to_string(trial + 1)), 1);
    EXPECT_EQ(h.textCount(blockLine(f)), 1) << "trial " << trial;
    // The total statistics have a line of the same words.
    EXPECT_GE(h.textCount("FINAL INFORMATION ERRORS=" + std::to_string(f.finalInfoErrors)), 1)
        << "trial " << trial;
    EXPECT_EQ(h.textCount("FINAL SYNDROME WEIGHT=" + std::to_string(f.finalSyndromeWeight)), 1)
        << "trial " << trial;
  }
  EXPECT_FALSE(anyTextContains(h, "NO BLOCK SHOWN"));
}

TEST(NoBlockShown, ARunWhoseBlocksTheRuleRejectsSaysSoWithTheReason) {
  ProgramHarness h(failingConfiguration(5));
  h.keepEvents(false);
  h.startUp();
  h.postRunAtFullSpeed();
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);

  EXPECT_EQ(h.program().runController().blocksShown(), 0);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 0);
  EXPECT_TRUE(anyTextContains(h, "NO BLOCK SHOWN: NONE OF THE 5 TRIAL BLOCKS MET THE"));
  EXPECT_TRUE(h.program().display().loadMessageStanding());
  // Nothing was shown, so Reset was never grayed; Run is back.
  EXPECT_EQ(h.menu(), ProgramHarness::FINISHED);
}

TEST(NoBlockShown, TheMessageGoesWithTheNextLoadAndARunThatShowsABlockHasNone) {
  ProgramHarness h(failingConfiguration(3));
  h.keepEvents(false);
  h.startUp();
  h.postRunAtFullSpeed();
  h.ws().whenMainLoopIdle([&] {
    EXPECT_TRUE(h.program().display().loadMessageStanding());
    h.dir().writeConfiguration(smallConfiguration(1));  // a block that the rule shows
    h.postRunAtFullSpeed();
  });
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_EQ(h.textCount("BLOCK STATISTIC:"), 1);
  EXPECT_FALSE(h.program().display().loadMessageStanding());
}

TEST(NoBlockShown, ARunWithoutTrialBlocksSaysThatInstead) {
  ProgramHarness h(smallConfiguration(0));
  h.startUp();
  h.postRunAtFullSpeed();
  h.closeWhenIdle();
  EXPECT_EQ(h.ws().runMainLoop(), 0);
  EXPECT_TRUE(anyTextContains(h, "NO TRIAL BLOCKS"));
}

}  // namespace
}  // namespace mtd::testing
