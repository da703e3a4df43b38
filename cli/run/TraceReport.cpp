#include "cli/run/TraceReport.h"

#include "cli/trace/DecodingReport.h"
#include "core/TextFormat.h"
#include "ui/TextLines.h"

namespace mtd::cli {

namespace {

const char* holds(bool condition) { return condition ? "holds" : "fails"; }

std::string selectionText(const TrialTrace& t) {
  const ErrorTally& tally = t.silentTally;
  const SelectionTerms terms = selectionTerms(t.params);
  const std::int64_t info = tally.counts[SLOT_INFO_ERRORS];
  const std::int64_t check = tally.counts[SLOT_CHECK_ERRORS];
  const std::int32_t left = tally.counts[iterationSlot(t.lastIteration)];
  const bool stoppedNow = t.stop == DecodingStop::ZeroErrors || t.stop == DecodingStop::EqualCounts;
  std::string text = format("\nSELECTION (x = K x P = %.8f):\n", terms.expectedErrors);
  text += format("  (a) INFORMATION + CHECK ERRORS = %lld >= 1.95 x = %.6f: %s\n",
                 static_cast<long long>(info + check), terms.errorsNeeded,
                 holds(enoughChannelErrors(terms, tally)));
  text += format("  (b) CHECK - INFORMATION ERRORS = %lld <= 0.125 x = %.6f: %s\n",
                 static_cast<long long>(check - info), terms.excessAllowed,
                 holds(checkExcessWithinBound(terms, tally)));
  text += format("  (c) ERRORS LEFT AFTER ITERATION %d (lastIteration=%d%s) = %d <= 0: %s\n",
                 t.lastIteration + 1, t.lastIteration,
                 stoppedNow ? "" : ", kept from an earlier decoding", left,
                 holds(lastIterationCorrectedAll(tally, t.lastIteration)));
  if (t.verdict == SelectionVerdict::Shown) {
    text += format("SHOWN as BLOCK NUMBER = %d of the run\n", t.shownBefore + 1);
  } else {
    text += format("NOT SHOWN: %s\n", describeVerdict(t.verdict));
  }
  return text;
}

}  // namespace

std::string traceText(const TrialTrace& trace) {
  const SimParams& p = trace.params;
  return format("TRIAL %d (THE RUN HAS TRIALS 0 TO %d) | %s\n", trace.trial, p.maxBlock - 1,
                runParametersLine(p).c_str()) +
         decodingText(trace) + selectionText(trace);
}

}  // namespace mtd::cli
