#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "SimProcess.h"
#include "TranscriptParsing.h"
#include "cli/run/TraceReport.h"
#include "cli/run/TrialTrace.h"

namespace mtd::testing {
namespace {

using cli::DecodingStop;
using cli::TracedFlip;
using cli::TracedIteration;
using cli::TrialTrace;

TrialTrace traceIn(const std::filesystem::path& directory, int trial) {
  const cli::ConfigurationSnapshot configuration(directory);
  auto sim = std::make_unique<Simulation>();
  std::optional<TrialTrace> trace = cli::traceTrial(*sim, configuration, trial);
  if (!trace) throw std::runtime_error("no such trial");
  return *trace;
}

TrialTrace defaultTrace(int trial) {
  const ScratchDirectory empty;
  return traceIn(empty.path(), trial);
}

template <typename F>
std::vector<long> perIteration(const TrialTrace& t, F value) {
  std::vector<long> values;
  for (const TracedIteration& it : t.iterations) values.push_back(static_cast<long>(value(it)));
  return values;
}

// Every flip lowers the distance by 2S - ndn, from the start syndrome weight on: the sums the
// trace reads from the rows agree with the distance the decoder keeps itself.
void expectFlipsAccountForTheDistance(const TrialTrace& t) {
  long distance = t.startSyndromeWeight;
  for (const TracedIteration& it : t.iterations) {
    for (const TracedFlip& flip : it.flips) {
      EXPECT_GT(flip.sum, it.threshold) << "flip at " << flip.position;
      distance += t.params.ndn - 2 * flip.sum;
      EXPECT_EQ(flip.distanceAfter, distance) << "flip at " << flip.position;
    }
    EXPECT_EQ(it.distance, distance);
  }
  EXPECT_EQ(t.finalDistance, distance);
}

TEST(TrialTrace, FirstDefaultBlockFollowsTheWorkedExample) {
  const TrialTrace t = defaultTrace(0);
  ASSERT_EQ(t.infoErrorPositions.size(), 66u);
  ASSERT_EQ(t.checkErrorPositions.size(), 56u);
  EXPECT_EQ(std::vector<int>(t.infoErrorPositions.begin(), t.infoErrorPositions.begin() + 10),
            (std::vector<int>{0, 22, 72, 77, 83, 87, 129, 154, 156, 177}));
  EXPECT_EQ(std::vector<int>(t.checkErrorPositions.begin(), t.checkErrorPositions.begin() + 5),
            (std::vector<int>{24, 40, 89, 165, 173}));
  EXPECT_EQ(t.startSyndromeWeight, 416);

  ASSERT_EQ(t.iterations.size(), 7u);
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.flips.size(); }),
            (std::vector<long>{18, 11, 22, 19, 16, 9, 1}));
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.infoErrors; }),
            (std::vector<long>{54, 51, 41, 26, 10, 1, 0}));
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.syndromeWeight; }),
            (std::vector<long>{298, 252, 200, 152, 106, 60, 56}));
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.threshold; }),
            (std::vector<long>{7, 6, 5, 5, 5, 5, 5}));
  for (const TracedIteration& it : t.iterations) {
    EXPECT_EQ(it.firstPosition, 32);
    EXPECT_EQ(it.positions, 1000);
  }

  const std::vector<TracedFlip>& first = t.iterations[0].flips;
  const std::vector<std::tuple<int, int, bool>> expected = {
      {83, 8, true},  {177, 8, true}, {307, 8, false}, {356, 8, false},
      {369, 8, true}, {451, 9, true}, {521, 8, true},  {586, 8, true}};
  for (std::size_t n = 0; n < expected.size(); ++n) {
    EXPECT_EQ(first[n].position, std::get<0>(expected[n])) << n;
    EXPECT_EQ(first[n].sum, std::get<1>(expected[n])) << n;
    EXPECT_EQ(first[n].correctsError, std::get<2>(expected[n])) << n;
    EXPECT_FALSE(first[n].undoesFlip);
  }
  EXPECT_EQ(t.iterations[0].distance, 316);
  // 307 was made wrong in iteration 1 and is put right again in iteration 3.
  const auto& third = t.iterations[2].flips;
  const auto back = std::find_if(third.begin(), third.end(),
                                 [](const TracedFlip& f) { return f.position == 307; });
  ASSERT_NE(back, third.end());
  EXPECT_TRUE(back->undoesFlip);
  EXPECT_TRUE(back->correctsError);

  EXPECT_EQ(t.stop, DecodingStop::ZeroErrors);
  EXPECT_EQ(t.lastIteration, 6);
  EXPECT_EQ(t.finalInfoErrors, 0);
  EXPECT_EQ(t.finalSyndromeWeight, 56);
  EXPECT_EQ(t.finalDistance, 122);
  EXPECT_EQ(t.verdict, SelectionVerdict::Shown);
  EXPECT_EQ(t.shownBefore, 0);
  expectFlipsAccountForTheDistance(t);
}

TEST(TrialTrace, ThirdDefaultBlockStopsOnEqualCounts) {
  const TrialTrace t = defaultTrace(2);
  EXPECT_EQ(t.infoErrorPositions.size(), 58u);
  EXPECT_EQ(t.checkErrorPositions.size(), 62u);
  EXPECT_EQ(t.startSyndromeWeight, 382);
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.infoErrors; }),
            (std::vector<long>{57, 59, 64, 70, 69, 69}));
  EXPECT_EQ(perIteration(t, [](auto& it) { return it.flips.size(); }),
            (std::vector<long>{11, 10, 21, 12, 1, 0}));
  EXPECT_EQ(t.stop, DecodingStop::EqualCounts);
  EXPECT_EQ(t.lastIteration, 5);
  EXPECT_EQ(t.finalInfoErrors, 69);
  EXPECT_EQ(t.finalSyndromeWeight, 204);
  EXPECT_EQ(t.finalDistance, 255);
  EXPECT_EQ(t.verdict, SelectionVerdict::ErrorsLeft);
  EXPECT_EQ(t.silentTally.counts[1], 58);
  EXPECT_EQ(t.silentTally.counts[2], 62);
  EXPECT_EQ(t.shownBefore, 2);
  expectFlipsAccountForTheDistance(t);
}

// The trace of every early trial agrees with the whole run: the trials it calls shown are the
// transcript's, with the transcript's block numbers and distances.
TEST(TrialTrace, VerdictsAgreeWithTheRun) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=60"));
  const Transcript run = parseTranscript(runSim({}, dir.path()).out);
  ASSERT_TRUE(run.wellFormed);
  std::set<SelectionVerdict> seen;
  std::size_t shown = 0;
  for (int trial = 0; trial < 60; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    const TrialTrace t = traceIn(dir.path(), trial);
    seen.insert(t.verdict);
    const bool inRun = shown < run.blocks.size() && run.blocks[shown].trial == trial;
    EXPECT_EQ(t.verdict == SelectionVerdict::Shown, inRun);
    EXPECT_EQ(t.shownBefore, static_cast<int>(shown));
    if (inRun) {
      const ShownBlock& b = run.blocks[shown];
      EXPECT_EQ(b.startDistance, t.startSyndromeWeight);
      EXPECT_EQ(b.currentDistance, t.finalDistance);
      EXPECT_EQ(b.blockSyndrome[1], t.iterations.at(0).syndromeWeight);
      ++shown;
    }
    expectFlipsAccountForTheDistance(t);
  }
  EXPECT_EQ(shown, run.blocks.size());
  EXPECT_EQ(seen.size(), 4u) << "every verdict occurs among the first 60 trials";
}

TEST(TrialTrace, IterationsThatRunOutKeepTheEarlierLastIteration) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(6, "ktrh={2,2,1,0,0,0,0,0,0,0,0,0}"));
  const TrialTrace t = traceIn(dir.path(), 0);
  ASSERT_EQ(t.iterations.size(), 2u);
  EXPECT_EQ(t.iterations[1].infoErrors, 51);
  EXPECT_EQ(t.stop, DecodingStop::IterationsRanOut);
  EXPECT_EQ(t.lastIteration, 0);  // nothing has stopped since start-up
  // (c) reads the errors after iteration 1 and rejects the block.
  EXPECT_EQ(t.verdict, SelectionVerdict::ErrorsLeft);
  EXPECT_NE(cli::traceText(t).find("kept from an earlier decoding"), std::string::npos);
}

TEST(TrialTrace, NoIterations) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(6, "ktrh={0,2,1,0,0,0,0,0,0,0,0,0}"));
  const TrialTrace t = traceIn(dir.path(), 0);
  EXPECT_TRUE(t.iterations.empty());
  EXPECT_EQ(t.stop, DecodingStop::NoIterations);
  EXPECT_EQ(t.finalDistance, 416);
  // No decoding leaves slot 3 empty, so (c) lets the block through.
  EXPECT_EQ(t.verdict, SelectionVerdict::Shown);
  EXPECT_NE(cli::traceText(t).find("NO ITERATIONS"), std::string::npos);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(TrialTrace, BinaryPrintsTheFirstBlockForReading) {
  const ScratchDirectory empty;
  const SimOutcome run = runSim({"--trial", "0"}, empty.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string& out = run.out;
  EXPECT_TRUE(contains(out, "CHANNEL: INFORMATION ERRORS=66, CHECK ERRORS=56, NOISE WEIGHT=122\n"));
  EXPECT_TRUE(contains(out, "  INFORMATION ERRORS AT 0, 22, 72, 77, 83, 87, 129, 154, 156, 177,"));
  EXPECT_TRUE(contains(out, "  CHECK ERRORS AT 24, 40, 89, 165, 173,"));
  EXPECT_TRUE(contains(out, "SYNDROME WEIGHT=416 (START DISTANCE=416)\n"));
  EXPECT_TRUE(contains(out, "ITERATION 1 (k=0): flip when S > 7 (ktrh[1]=2, plus 5)"));
  EXPECT_TRUE(contains(out,
                       "  FLIP 83 (S=8): corrects an error; distance 411\n"
                       "  FLIP 177 (S=8): corrects an error; distance 406\n"
                       "  FLIP 307 (S=8): makes a right bit wrong; distance 401\n"
                       "  FLIP 356 (S=8): makes a right bit wrong; distance 396\n"));
  const std::vector<std::string> afterLines = {
      "  18 FLIPS; AFTER ITERATION 1: INFORMATION ERRORS=54, SYNDROME WEIGHT=298, DISTANCE=316",
      "  11 FLIPS; AFTER ITERATION 2: INFORMATION ERRORS=51, SYNDROME WEIGHT=252, DISTANCE=281",
      "  22 FLIPS; AFTER ITERATION 3: INFORMATION ERRORS=41, SYNDROME WEIGHT=200, DISTANCE=249",
      "  19 FLIPS; AFTER ITERATION 4: INFORMATION ERRORS=26, SYNDROME WEIGHT=152, DISTANCE=208",
      "  16 FLIPS; AFTER ITERATION 5: INFORMATION ERRORS=10, SYNDROME WEIGHT=106, DISTANCE=168",
      "  9 FLIPS; AFTER ITERATION 6: INFORMATION ERRORS=1, SYNDROME WEIGHT=60, DISTANCE=127",
      "  1 FLIP; AFTER ITERATION 7: INFORMATION ERRORS=0, SYNDROME WEIGHT=56, DISTANCE=122"};
  std::size_t from = 0;
  for (const std::string& line : afterLines) {
    const std::size_t at = out.find(line + "\n", from);
    ASSERT_NE(at, std::string::npos) << line;
    from = at;
  }
  EXPECT_TRUE(contains(out, "STOP AFTER ITERATION 7 (k=6): no information error left\n"));
  EXPECT_FALSE(contains(out, "ITERATION 8"));
  EXPECT_TRUE(contains(out, "SHOWN as BLOCK NUMBER = 1 of the run\n"));
}

TEST(TrialTrace, BinaryPrintsTheThirdBlocksStopAndRejection) {
  const ScratchDirectory empty;
  const SimOutcome run = runSim({"--trial=2"}, empty.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string& out = run.out;
  EXPECT_TRUE(contains(out,
                       "  0 FLIPS; AFTER ITERATION 6: INFORMATION ERRORS=69, SYNDROME "
                       "WEIGHT=204, DISTANCE=255\n"));
  EXPECT_TRUE(contains(out,
                       "STOP AFTER ITERATION 6 (k=5): as many information errors (69) as "
                       "after iteration 5, at k >= 3\n"));
  EXPECT_TRUE(
      contains(out, "(c) ERRORS LEFT AFTER ITERATION 6 (lastIteration=5) = 69 <= 0: fails"));
  EXPECT_TRUE(contains(out, "NOT SHOWN: rejected by (c)"));
}

}  // namespace
}  // namespace mtd::testing
