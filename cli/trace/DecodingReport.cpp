#include "cli/trace/DecodingReport.h"

#include "core/TextFormat.h"

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

std::string codeAndChannel(const DecodingTrace& t) {
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

std::string iterationText(const DecodingTrace& t, const TracedIteration& it) {
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

std::string stopText(const DecodingTrace& t) {
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

}  // namespace

std::string decodingText(const DecodingTrace& trace) {
  std::string text = codeAndChannel(trace);
  for (const TracedIteration& iteration : trace.iterations) {
    text += iterationText(trace, iteration);
  }
  return text + stopText(trace);
}

}  // namespace mtd::cli
