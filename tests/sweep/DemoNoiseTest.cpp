// Demo noise at the configured p must give exactly the trials of a Run.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "SweepFixtures.h"
#include "core/Configuration.h"
#include "core/Passes.h"
#include "sweep/BatchRunner.h"
#include "sweep/FrameNoise.h"
#include "sweep/PointRunner.h"

namespace mtd::sweep {
namespace {

using testing::neverCancel;

// The tallies of maxBlock silent trials of a Run, computed by core's passes.
BatchTally runTrials(Simulation& sim, std::int64_t trials) {
  BatchTally t;
  for (std::int64_t i = 0; i < trials; ++i) {
    sim.clearBlockTally();
    generateInfoNoise(sim, nullptr);
    generateCheckNoise(sim, nullptr);
    formSyndrome(sim, nullptr);
    decodeBlock(sim, nullptr);
    const std::int32_t left = countOnes(sim.rows.infoErrors.data(), sim.params.nbl);
    t.frames += 1;
    t.infoBits += sim.params.nbl;
    t.channelInfoErrors += sim.blockTally.counts[1];
    t.decodedInfoErrors += left;
    t.frameErrors += left != 0;
  }
  return t;
}

TEST(DemoNoise, SweepAtConfiguredPEqualsTheTrialsOfARun) {
  // The defaults, and a code whose p gives many failures and whose nbl is odd.
  const char* configs[] = {nullptr,
                           "nbl=517\nkst=12345\np=0.095\nndn=5 "
                           "x\nkfp={4,0,3,77,200,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"
                           "0}\nktrh={6,1,0,0,0,0,0,0,0,0,0,0}\nmaxBlock=700\nddn=4\ncheck\n"};
  for (const char* text : configs) {
    auto sim = std::make_unique<Simulation>();
    const LoadResult loaded = text ? loadConfigurationText(*sim, std::string_view(text))
                                   : loadConfigurationText(*sim, std::nullopt);
    ASSERT_TRUE(text == nullptr || loaded.accepted) << loaded.rejection;
    const PointSetup setup{SweepCode(sim->params), NoiseKind::Demo, sim->params.p, 1, 0};
    const std::int64_t trials = sim->params.maxBlock;
    StopRule rule{trials, 0, std::nullopt};
    const PointResult result = runPoint(setup, rule, 3, neverCancel());
    BatchTally expected = runTrials(*sim, trials);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(result.total.frames, expected.frames);
    EXPECT_EQ(result.total.frameErrors, expected.frameErrors);
    EXPECT_EQ(result.total.channelInfoErrors, expected.channelInfoErrors);
    EXPECT_EQ(result.total.decodedInfoErrors, expected.decodedInfoErrors);
    EXPECT_EQ(result.total.infoBits, expected.infoBits);
    EXPECT_GT(expected.channelInfoErrors, 0);
  }
}

TEST(DemoNoise, FrameNoiseJumpsToAnyTrial) {
  auto sim = std::make_unique<Simulation>();
  loadConfigurationText(*sim, std::nullopt);
  const PointSetup setup{SweepCode(sim->params), NoiseKind::Demo, sim->params.p, 1, 0};
  const std::int32_t nbl = sim->params.nbl;
  std::vector<Bit> info(nbl), check(nbl);
  for (std::int64_t trial = 0; trial <= 130; ++trial) {
    generateInfoNoise(*sim, nullptr);
    generateCheckNoise(*sim, nullptr);
    if (trial % 43 != 0 && trial != 130) continue;
    frameNoise(setup, trial, info.data(), check.data());
    for (std::int32_t i = 0; i < nbl; ++i) {
      ASSERT_EQ(info[i], sim->rows.infoErrors[i]) << "trial " << trial << " position " << i;
      ASSERT_EQ(check[i], sim->rows.checkErrors[i]) << "trial " << trial << " position " << i;
    }
  }
}

TEST(DemoNoise, EffectivePIsTheQuantisedThreshold) {
  const PointSetup setup{testing::defaultCode(), NoiseKind::Demo, 0.06, 1, 0};
  // 0.06f * 1000 truncates to 59: samples 0..59 of 1024.
  EXPECT_DOUBLE_EQ(effectiveP(setup), 60.0 / 1024.0);
  PointSetup zero = setup;
  zero.p = 0.0;
  EXPECT_DOUBLE_EQ(effectiveP(zero), 1.0 / 1024.0);
}

}  // namespace
}  // namespace mtd::sweep
