#include "cli/TraceReport.h"

#include "cli/Text.h"
#include "ui/TextLines.h"

namespace mtd::cli {

namespace {

constexpr std::size_t POSITIONS_LISTED = 10;

std::string positionList(const std::vector<std::int32_t>& positions) {
  if (positions.empty()) return "none";
  std::string text;
  for (std::size_t i = 0; i < positions.size() && i < POSITIONS_LISTED; ++i) {
    text += format(i == 0 ? "%d" : ", %d", positions[i]);
  }
  if (positions.size() > POSITIONS_LISTED) {
    text += format(", ... (%zu more)", positions.size() - POSITIONS_LISTED);
  }
  return text;
}

std::string codeTaps(const SimParams& p) {
  std::string text;
  for (std::int32_t j = 1; j < p.ndn; ++j) text += format(j == 1 ? "%d" : ", %d", p.kfp[j]);
  return text.empty() ? "none" : text;
}

std::string codeAndChannel(const TrialTrace& t) {
  const SimParams& p = t.params;
  std::string text = format("CODE: NDN=%d, CODE TAPS %s; ITERATIONS=%d (ktrh[0])\n", p.ndn,
                            codeTaps(p).c_str(), p.ktrh[0]);
  const auto info = static_cast<std::int32_t>(t.infoErrorPositions.size());
  const auto check = static_cast<std::int32_t>(t.checkErrorPositions.size());
  text += format("CHANNEL: INFORMATION ERRORS=%d, CHECK ERRORS=%d, NOISE WEIGHT=%d\n", info, check,
                 info + check);
  text += "  INFORMATION ERRORS AT " + positionList(t.infoErrorPositions) + "\n";
  text += "  CHECK ERRORS AT " + positionList(t.checkErrorPositions) + "\n";
  text += format("SYNDROME WEIGHT=%d (START DISTANCE=%d)\n", t.startSyndromeWeight,
                 t.startSyndromeWeight);
  text += format(
      "S of a position = its DIFFERENCE bit + the SYNDROME bits at the position plus "
      "each code tap (less K when that reaches K); a flip changes the distance by "
      "NDN - 2S = %d - 2S\n",
      p.ndn);
  return text;
}

std::string flipLine(const TracedFlip& flip) {
  std::string text = format("  FLIP %d (S=%d): %s", flip.position, flip.sum,
                            flip.correctsError ? "corrects an error" : "makes a right bit wrong");
  if (flip.undoesFlip) text += ", undoing an earlier flip";
  return text + format("; distance %d\n", flip.distanceAfter);
}

std::string iterationText(const TrialTrace& t, const TracedIteration& it) {
  std::string text = format(
      "\nITERATION %d (k=%d): flip when S > %lld (ktrh[%d]=%d, plus 5); sweep of %d "
      "positions from %d\n",
      it.k + 1, it.k, static_cast<long long>(it.threshold), it.k + 1, t.params.ktrh[it.k + 1],
      it.positions, it.firstPosition);
  for (const TracedFlip& flip : it.flips) text += flipLine(flip);
  text += format(
      "  %zu FLIP%s; AFTER ITERATION %d: INFORMATION ERRORS=%d, SYNDROME WEIGHT=%d, "
      "DISTANCE=%d\n",
      it.flips.size(), it.flips.size() == 1 ? "" : "S", it.k + 1, it.infoErrors, it.syndromeWeight,
      it.distance);
  return text;
}

std::string stopText(const TrialTrace& t) {
  if (t.stop == DecodingStop::NoIterations) {
    return format("\nNO ITERATIONS: ktrh[0]=%d, the decoder changes nothing\n", t.params.ktrh[0]);
  }
  const TracedIteration& last = t.iterations.back();
  std::string text = format("\nSTOP AFTER ITERATION %d (k=%d): ", last.k + 1, last.k);
  switch (t.stop) {
    case DecodingStop::ZeroErrors:
      text += "no information error left\n";
      break;
    case DecodingStop::EqualCounts:
      text += format("as many information errors (%d) as after iteration %d, at k >= 3\n",
                     last.infoErrors, last.k);
      break;
    case DecodingStop::IterationsRanOut:
      text += format("the %d iterations ran out without a stop", t.params.ktrh[0]);
      text += t.fromRun ? format("; lastIteration stays %d\n", t.lastIteration) : "\n";
      break;
    case DecodingStop::NoIterations:
      break;
  }
  text += format("FINAL: INFORMATION ERRORS=%d, SYNDROME WEIGHT=%d, DISTANCE=%d\n",
                 t.finalInfoErrors, t.finalSyndromeWeight, t.finalDistance);
  return text;
}

const char* holds(bool condition) { return condition ? "holds" : "fails"; }

std::string selectionText(const TrialTrace& t) {
  const ErrorTally& tally = t.silentTally;
  const double x = static_cast<double>(t.params.nbl) * static_cast<double>(t.params.p);
  const std::int64_t info = tally.counts[1];
  const std::int64_t check = tally.counts[2];
  const std::int32_t left = tally.counts[3 + t.lastIteration];
  const bool stoppedNow = t.stop == DecodingStop::ZeroErrors || t.stop == DecodingStop::EqualCounts;
  std::string text = format("\nSELECTION (x = K x P = %.8f):\n", x);
  text += format("  (a) INFORMATION + CHECK ERRORS = %lld >= 1.95 x = %.6f: %s\n",
                 static_cast<long long>(info + check), x * 1.95,
                 holds(x * 1.95 <= static_cast<double>(info + check)));
  text += format("  (b) CHECK - INFORMATION ERRORS = %lld <= 0.125 x = %.6f: %s\n",
                 static_cast<long long>(check - info), x * 0.125,
                 holds(static_cast<double>(check - info) <= x * 0.125));
  text += format("  (c) ERRORS LEFT AFTER ITERATION %d (lastIteration=%d%s) = %d <= 0: %s\n",
                 t.lastIteration + 1, t.lastIteration,
                 stoppedNow ? "" : ", kept from an earlier decoding", left, holds(left <= 0));
  if (t.verdict == SelectionVerdict::Shown) {
    text += format("SHOWN as BLOCK NUMBER = %d of the run\n", t.shownBefore + 1);
  } else {
    text += format("NOT SHOWN: %s\n", describeVerdict(t.verdict));
  }
  return text;
}

}  // namespace

std::string decodingText(const TrialTrace& trace) {
  std::string text = codeAndChannel(trace);
  for (const TracedIteration& iteration : trace.iterations) {
    text += iterationText(trace, iteration);
  }
  return text + stopText(trace);
}

std::string traceText(const TrialTrace& trace) {
  const SimParams& p = trace.params;
  return format("TRIAL %d (THE RUN HAS TRIALS 0 TO %d) | %s\n", trace.trial, p.maxBlock - 1,
                runParametersLine(p).c_str()) +
         decodingText(trace) + selectionText(trace);
}

}  // namespace mtd::cli
