// The bit-sliced engine against core's decoder, frame by frame, on random accepted codes.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ExactReference.h"
#include "SweepFixtures.h"
#include "core/Configuration.h"
#include "sweep/BatchRunner.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/ExactDecoder.h"
#include "sweep/LanePaths.h"
#include "sweep/NoiseBatch.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {
namespace {

// An init.txt the loader accepts, with the corners the fast sweep must get right: a tap equal
// to nbl, duplicate taps, ndn above the eleven used, thresholds that always or never flip.
std::string randomConfiguration(std::mt19937_64& rng) {
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const int nbl = pick(0, 3) == 0 ? pick(1, 40) : pick(41, 2200);
  const int ndn = pick(0, 5) == 0 ? pick(12, 20) : pick(1, 11);
  const int taps = std::min(ndn, 11) - 1;
  std::vector<int> kfp(25, 0);
  for (int j = 1; j <= taps; ++j) {
    const int kind = pick(0, 9);
    kfp[j] = kind == 0 ? nbl : kind == 1 && j > 1 ? kfp[j - 1] : pick(0, nbl);
  }
  kfp[0] = std::max(taps, 0);  // ddn: the largest tap index in use
  std::vector<int> ktrh(12, 0);
  ktrh[0] = pick(0, 10);
  for (int k = 1; k < 12; ++k) {
    const int kind = pick(0, 12);
    ktrh[k] = kind == 0 ? -2000000000 : kind == 1 ? 2000000000 : pick(-7, 7);
  }
  std::ostringstream s;
  s << "nbl=" << nbl << "\nkst=" << pick(-100000, 100000) << "\np=0.05\nndn=" << ndn << " w\nkfp={";
  for (int j = 0; j < 25; ++j) s << kfp[j] << (j < 24 ? "," : "}\n");
  s << "ktrh={";
  for (int k = 0; k < 12; ++k) s << ktrh[k] << (k < 11 ? "," : "}\n");
  s << "maxBlock=10\nddn=" << kfp[0] << "\ncheck\n";
  return s.str();
}

std::string describe(const SweepCode& code) {
  const SimParams& p = code.params;
  std::ostringstream s;
  s << "nbl=" << p.nbl << " ndn=" << p.ndn << " taps=";
  for (int j = 0; j < code.tapCount(); ++j) s << code.tap(j) << ' ';
  s << "ktrh=";
  for (int k = 0; k <= 10; ++k) s << p.ktrh[k] << ' ';
  return s.str();
}

// Every entry of the lane-path table, by name; a path this build or processor lacks skips with
// what is missing.
class EveryLanePath : public ::testing::TestWithParam<LanePath> {
 protected:
  void SetUp() override {
    std::string error;
    if (!parseLanePath(lanePathName(GetParam()), error)) GTEST_SKIP() << error;
  }
};

std::string pathName(const ::testing::TestParamInfo<LanePath>& info) {
  return lanePathName(info.param);
}

TEST_P(EveryLanePath, EveryFrameDecidesAsCoreOnRandomCodes) {
  const LanePath path = GetParam();
  std::mt19937_64 rng(20261209);
  auto sim = std::make_unique<Simulation>();
  testing::ExactReference exact;
  Workspace workspace;
  int framesInError = 0;
  int framesFlipped = 0;
  // The corners the random codes must have reached.
  int tapAtNbl = 0, duplicateTaps = 0, noIterations = 0, flipAlways = 0, wideCodes = 0;
  for (int config = 0; config < 48; ++config) {
    const std::string text = randomConfiguration(rng);
    const LoadResult loaded = loadConfigurationText(*sim, std::string_view(text));
    ASSERT_TRUE(loaded.accepted) << loaded.rejection << "\n" << text;
    const SweepCode code(sim->params);
    for (int a = 0; a < code.tapCount(); ++a) {
      tapAtNbl += code.tap(a) == code.nbl();
      for (int b = a + 1; b < code.tapCount(); ++b) duplicateTaps += code.tap(a) == code.tap(b);
    }
    noIterations += code.iterations() == 0;
    flipAlways += code.iterations() > 0 && code.params.ktrh[1] < -5;
    wideCodes += code.tapCount() == 10;
    const double p = std::uniform_real_distribution<double>(0.005, 0.16)(rng);
    PointSetup setup{SweepCode(sim->params), NoiseKind::Sound, p, rng(), 3, path};
    // A part-filled last chunk for every lane width, a start past the first chunk, and spans
    // of more frames than a refilling decoder takes at once.
    const std::int64_t first = 64 * (config % 3);
    const std::int64_t frames = 300 + 550 * (config % 4);
    const std::vector<FrameOutcome> expected = exact.outcomes(setup, first, frames);
    for (LaneRefill refill : {LaneRefill::Never, LaneRefill::Always}) {
      setup.refill = refill;
      std::vector<FrameOutcome> got(frames);
      workspace.engine().run(setup, first, frames, workspace, got.data());
      for (std::int64_t f = 0; f < frames; ++f) {
        ASSERT_EQ(got[f], expected[f])
            << lanePathName(path) << (refill == LaneRefill::Always ? " refilling" : "") << " frame "
            << first + f << " p=" << p << "\n"
            << describe(setup.code);
      }
    }
    for (const FrameOutcome& o : expected) {
      framesInError += o.infoErrorsLeft != 0;
      framesFlipped += o.infoErrorsLeft != o.channelInfoErrors;
    }
  }
  // The random codes exercised both corrections and failures.
  EXPECT_GT(framesInError, 100);
  EXPECT_GT(framesFlipped, 1000);
  EXPECT_GT(tapAtNbl, 0);
  EXPECT_GT(duplicateTaps, 0);
  EXPECT_GT(noIterations, 0);
  EXPECT_GT(flipAlways, 0);
  EXPECT_GT(wideCodes, 0);
}

TEST_P(EveryLanePath, BatchTalliesEqualTheExactPathForBothNoises) {
  const SweepCode code = testing::defaultCode();
  testing::ExactReference exact;
  Workspace workspace;
  for (NoiseKind noise : {NoiseKind::Sound, NoiseKind::Demo}) {
    for (double p : {0.0, 0.05, 0.09, 1.0}) {
      PointSetup setup{code, noise, p, 77, 2, GetParam()};
      // A frame limit that cuts the second batch short.
      const std::int64_t limit = BATCH_FRAMES + 300;
      for (std::int64_t batch = 0; batch < 2; ++batch) {
        const BatchTally expected = exact.batch(setup, batch, limit);
        for (LaneRefill refill : {LaneRefill::Never, LaneRefill::Always}) {
          setup.refill = refill;
          const BatchTally fast = runBatch(setup, batch, limit, workspace);
          EXPECT_EQ(fast, expected) << "p=" << p << " batch " << batch
                                    << (refill == LaneRefill::Always ? " refilling" : "");
          EXPECT_EQ(fast.frames, batch == 0 ? BATCH_FRAMES : 300);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(LanePaths, EveryLanePath,
                         ::testing::Values(LanePath::Portable, LanePath::Avx2, LanePath::Avx512),
                         pathName);

TEST(LanePaths, TheTableNamesEveryPathOnceWidestFirst) {
  int previousLanes = 1 << 30;
  for (const LanePathEntry& entry : lanePaths()) {
    EXPECT_LT(entry.lanes, previousLanes) << entry.name;
    previousLanes = entry.lanes;
    // The noise fills whole chunks of the decoder.
    EXPECT_EQ(64 * entry.noiseGroups % entry.lanes, 0) << entry.name;
    EXPECT_EQ(lanePath(entry.path).name, entry.name);
  }
  EXPECT_EQ(lanePaths().size(), 3u);
  EXPECT_TRUE(lanePathSupported(LanePath::Portable));
  EXPECT_TRUE(lanePathSupported(widestLanePath()));
  EXPECT_EQ(lanePath(LanePath::Widest).path, widestLanePath());
}

TEST(LanePaths, NamesAreParsedAndTheRefusalsSayWhy) {
  std::string error;
  EXPECT_EQ(parseLanePath("portable", error), LanePath::Portable);
  EXPECT_FALSE(parseLanePath("avx1024", error));
  EXPECT_NE(error.find("unknown lane path \"avx1024\""), std::string::npos) << error;
  EXPECT_NE(error.find("portable"), std::string::npos) << error;
  for (const LanePathEntry& entry : lanePaths()) {
    error.clear();
    const bool runs = parseLanePath(entry.name, error).has_value();
    EXPECT_EQ(runs, lanePathSupported(entry.path)) << entry.name;
    if (!runs) {
      EXPECT_NE(error.find(entry.name), std::string::npos) << error;
    }
  }
}

}  // namespace
}  // namespace mtd::sweep
