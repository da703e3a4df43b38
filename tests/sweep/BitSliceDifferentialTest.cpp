// The bit-sliced engine against core's decoder, frame by frame, on random accepted codes.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "SweepFixtures.h"
#include "core/Configuration.h"
#include "sweep/BatchRunner.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/ExactDecoder.h"
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

// The outcome of every frame through core's decoder, from the same noise words.
std::vector<FrameOutcome> exactOutcomes(const PointSetup& setup, std::int64_t frames,
                                        Workspace& workspace) {
  const std::int32_t nbl = setup.code.nbl();
  std::vector<std::uint64_t> words(2 * std::size_t(nbl));
  std::vector<Bit> info(nbl), check(nbl);
  std::vector<FrameOutcome> outcomes;
  for (std::int64_t group = 0; group * GROUP_FRAMES < frames; ++group) {
    drawNoiseGroups(setup, group, 1, frames, workspace, words.data());
    for (int lane = 0; lane < 64 && group * 64 + lane < frames; ++lane) {
      for (std::int32_t i = 0; i < nbl; ++i) {
        info[i] = (words[i] >> lane) & 1;
        check[i] = (words[nbl + i] >> lane) & 1;
      }
      outcomes.push_back(
          decodeFrameExact(workspace.scratch(), setup.code, info.data(), check.data()));
    }
  }
  return outcomes;
}

TEST(BitSliceEngine, EveryFrameDecidesAsCoreOnRandomCodes) {
  std::mt19937_64 rng(20261209);
  auto sim = std::make_unique<Simulation>();
  Workspace workspace(LanePath::Portable);
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
    const PointSetup setup{SweepCode(sim->params), NoiseKind::Sound, p, rng(), 3};
    const std::int64_t frames = 300;  // a part-filled last chunk for every lane width
    const std::vector<FrameOutcome> expected = exactOutcomes(setup, frames, workspace);
    for (LanePath path : {LanePath::Portable, LanePath::Avx2}) {
      if (!lanePathSupported(path)) continue;
      BitSliceEngine engine(path);
      std::vector<FrameOutcome> got(frames);
      engine.run(setup, 0, frames, workspace, got.data());
      for (std::int64_t f = 0; f < frames; ++f) {
        ASSERT_EQ(got[f], expected[f]) << lanePathName(path) << " frame " << f << " p=" << p << "\n"
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

TEST(BitSliceEngine, BatchTalliesEqualTheExactPathForBothNoises) {
  const SweepCode code = testing::defaultCode();
  Workspace workspace;
  for (NoiseKind noise : {NoiseKind::Sound, NoiseKind::Demo}) {
    for (double p : {0.0, 0.05, 0.09}) {
      const PointSetup setup{code, noise, p, 77, 2};
      // A frame limit that cuts the second batch short.
      const std::int64_t limit = BATCH_FRAMES + 300;
      for (std::int64_t batch = 0; batch < 2; ++batch) {
        const BatchTally fast = runBatch(setup, batch, limit, workspace);
        const BatchTally exact = runBatchExact(setup, batch, limit, workspace);
        EXPECT_EQ(fast, exact) << "p=" << p << " batch " << batch;
        EXPECT_EQ(fast.frames, batch == 0 ? BATCH_FRAMES : 300);
      }
    }
  }
}

}  // namespace
}  // namespace mtd::sweep
