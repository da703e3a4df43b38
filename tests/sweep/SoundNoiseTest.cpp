// Sound noise: the rate it promises, the same bits on every path, keyed by seed, point and frame.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <vector>

#include "ExactReference.h"
#include "SweepFixtures.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/ExactDecoder.h"
#include "sweep/FrameNoise.h"
#include "sweep/LanePaths.h"
#include "sweep/SoundNoise.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {
namespace {

std::int64_t onesIn(const std::vector<std::uint64_t>& words) {
  std::int64_t n = 0;
  for (std::uint64_t w : words) n += std::popcount(w);
  return n;
}

TEST(SoundNoise, ErrorRateIsPWithinFiveSigma) {
  // 0.3 and 0.05 decide most lanes on the leading bits; 1e-4 and 3e-6 lean on the tail stream.
  for (double p : {0.3, 0.05, 0.0123, 1e-4, 3e-6}) {
    const SoundNoise noise(5, 1, p);
    const std::int32_t positions = 4000;
    const int groups = 4;
    std::vector<std::uint64_t> words(std::size_t(positions) * groups);
    std::int64_t ones = 0;
    std::int64_t bits = 0;
    for (std::int64_t g = 0; g < 400; g += groups) {
      noise.fill(LanePath::Widest, g, groups, positions, words.data());
      ones += onesIn(words);
      bits += std::int64_t(words.size()) * 64;
    }
    const double sigma = std::sqrt(p * (1 - p) / static_cast<double>(bits));
    EXPECT_NEAR(static_cast<double>(ones) / bits, p, 5 * sigma) << "p=" << p;
  }
}

TEST(SoundNoise, CertainAndImpossibleErrors) {
  std::vector<std::uint64_t> words(4 * 100);
  for (const LanePathEntry& path : lanePaths()) {
    SoundNoise(1, 0, 1.0).fill(path.path, 0, 4, 100, words.data());
    EXPECT_EQ(onesIn(words), 64 * 400) << path.name;
    SoundNoise(1, 0, 0.0).fill(path.path, 0, 4, 100, words.data());
    EXPECT_EQ(onesIn(words), 0) << path.name;
  }
}

TEST(SoundNoise, EveryPathDrawsTheWordsOfEachGroupDrawnAlone) {
  int pathsRun = 0;
  for (const LanePathEntry& path : lanePaths()) {
    if (!lanePathSupported(path.path)) {
      std::printf("[ SKIPPED  ] %s noise: needs %s\n", path.name, path.instructionSets);
      continue;
    }
    ++pathsRun;
    // Eleven groups: whole calls of the path's width and a portable remainder.
    const int groups = 11;
    for (double p : {0.05, 0.5, 2e-3, 1e-7}) {
      const SoundNoise noise(99, 7, p);
      const std::int32_t positions = 2 * 1013;
      std::vector<std::uint64_t> together(std::size_t(positions) * groups);
      std::vector<std::uint64_t> apart(together.size());
      noise.fill(path.path, 12, groups, positions, together.data());
      for (int i = 0; i < groups; ++i) {
        noise.fillPortable(12 + i, positions, apart.data() + i, groups);
      }
      EXPECT_EQ(together, apart) << path.name << " p=" << p;
    }
  }
  EXPECT_GE(pathsRun, 1);
}

TEST(SoundNoise, KeyedBySeedAndPointOnly) {
  const std::int32_t positions = 512;
  auto draw = [&](std::uint64_t seed, std::uint32_t point, std::int64_t group) {
    std::vector<std::uint64_t> words(positions);
    SoundNoise(seed, point, 0.1).fillPortable(group, positions, words.data(), 1);
    return words;
  };
  EXPECT_EQ(draw(3, 4, 5), draw(3, 4, 5));
  EXPECT_NE(draw(3, 4, 5), draw(3, 5, 5));
  EXPECT_NE(draw(3, 4, 5), draw(4, 4, 5));
  EXPECT_NE(draw(3, 4, 5), draw(3, 4, 6));
  // Seeds differing in their high word get other streams.
  EXPECT_NE(draw(3, 4, 5), draw(3 + (std::uint64_t{1} << 32), 4, 5));
}

// What --keep-failures relies on: the noise of one frame, recomputed alone and decoded by core,
// gives the outcome the engine saw for that frame.
TEST(SoundNoise, OneFrameRecomputedAloneTracesAsTheEngineDecodedIt) {
  const PointSetup setup = testing::soundPoint(testing::defaultCode(), 0.085, 11, 4);
  const std::int64_t first = 3 * 1024;
  const std::int64_t count = 512;
  Workspace workspace;
  testing::ExactReference exact;
  std::vector<FrameOutcome> outcomes(count);
  workspace.engine().run(setup, first, count, workspace, outcomes.data());
  std::vector<Bit> info(setup.code.nbl()), check(setup.code.nbl());
  int failures = 0;
  for (std::int64_t f = 0; f < count; f += 7) {
    frameNoise(setup, first + f, info.data(), check.data());
    const FrameOutcome traced =
        decodeFrameExact(exact.scratch(), setup.code, info.data(), check.data());
    EXPECT_EQ(traced, outcomes[f]) << "frame " << first + f;
    failures += traced.infoErrorsLeft != 0;
  }
  EXPECT_GT(failures, 0);
}

}  // namespace
}  // namespace mtd::sweep
