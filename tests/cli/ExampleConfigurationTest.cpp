#include <gtest/gtest.h>

#include <memory>

#include "SimProcess.h"
#include "TranscriptParsing.h"
#include "cli/ConfigurationSnapshot.h"

namespace mtd::testing {
namespace {

const std::filesystem::path EXAMPLES = MTD_EXAMPLES_DIR;

void expectSameParameters(const SimParams& a, const SimParams& b) {
  EXPECT_EQ(a.nbl, b.nbl);
  EXPECT_EQ(a.kst, b.kst);
  EXPECT_EQ(a.p, b.p);
  EXPECT_EQ(a.ndn, b.ndn);
  EXPECT_EQ(a.kfp, b.kfp);
  EXPECT_EQ(a.ktrh, b.ktrh);
  EXPECT_EQ(a.maxBlock, b.maxBlock);
  EXPECT_EQ(a.noiseThreshold, b.noiseThreshold);
  EXPECT_EQ(a.stepsPerBit, b.stepsPerBit);
  EXPECT_EQ(a.codeDistance, b.codeDistance);
  EXPECT_EQ(a.decodeCursor, b.decodeCursor);
}

TEST(ExampleConfiguration, CommentedExampleHoldsTheDefaults) {
  auto example = std::make_unique<Simulation>();
  const LoadResult load = loadConfiguration(*example, EXAMPLES);
  EXPECT_TRUE(load.fileFound);
  EXPECT_TRUE(load.accepted);
  EXPECT_EQ(load.rejection, "");
  auto defaults = std::make_unique<Simulation>();
  EXPECT_FALSE(loadConfigurationText(*defaults, std::nullopt).accepted);
  expectSameParameters(example->params, defaults->params);
  EXPECT_EQ(example->params.noiseThreshold, 59);
  EXPECT_EQ(example->params.maxBlock, 2000);
}

TEST(ExampleConfiguration, ExampleDirectoryRunsLikeNoFile) {
  const ScratchDirectory empty;
  const SimOutcome withExample = runSim({"-C", EXAMPLES.string()}, empty.path());
  const SimOutcome withoutFile = runSim({}, empty.path());
  ASSERT_EQ(withExample.status, 0) << withExample.err;
  EXPECT_EQ(withExample.out, withoutFile.out);
}

TEST(ExampleConfiguration, LongBlockExampleRuns) {
  auto sim = std::make_unique<Simulation>();
  const LoadResult load = loadConfiguration(*sim, EXAMPLES / "long-block");
  ASSERT_TRUE(load.accepted) << load.rejection;
  EXPECT_EQ(sim->params.nbl, 2000);
  EXPECT_EQ(sim->params.p, 0.05f);
  EXPECT_EQ(sim->params.noiseThreshold, 50);
  EXPECT_EQ(sim->params.ktrh[0], 8);
  EXPECT_EQ(sim->params.maxBlock, 400);

  const ScratchDirectory empty;
  const SimOutcome run = runSim({"-C", (EXAMPLES / "long-block").string()}, empty.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const Transcript t = parseTranscript(run.out);
  ASSERT_TRUE(t.wellFormed);
  EXPECT_EQ(t.trials, 400);
  ASSERT_FALSE(t.blocks.empty());
  for (const ShownBlock& b : t.blocks) {
    EXPECT_EQ(b.k, 2000);
    EXPECT_EQ(b.rand, sim->params.kst);
    EXPECT_EQ(b.blockErrors[0], 2000);
    EXPECT_EQ(b.finalInfo, 0);
    // Eight iterations: the tallies of iterations 9 and 10 stay empty, and a 2000-bit block
    // with p = 0.05 needs at least 1.95 x 100 channel errors to be shown.
    EXPECT_EQ(b.blockSyndrome[9], 0);
    EXPECT_EQ(b.blockSyndrome[10], 0);
    EXPECT_GE(b.noiseWeight, 195);
  }
}

// The runner reads init.txt once: later loads of the run see those bytes even if the file
// changes or goes away meanwhile.
TEST(ExampleConfiguration, SnapshotKeepsTheBytesReadFirst) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=50"));
  const cli::ConfigurationSnapshot snapshot(dir.path());
  std::filesystem::remove(dir.path() / "init.txt");
  auto sim = std::make_unique<Simulation>();
  const LoadResult load = snapshot.loadInto(*sim);
  EXPECT_TRUE(load.fileFound);
  EXPECT_TRUE(load.accepted);
  EXPECT_EQ(sim->params.maxBlock, 50);
}

}  // namespace
}  // namespace mtd::testing
