#include "cli/SweepTable.h"

#include "core/CodeTaps.h"
#include "ui/TextFormat.h"

namespace mtd::cli {

namespace {

constexpr const char* RULE =
    "# ---------------------------------------------------------------------------------------"
    "-----------------\n";

std::string numbers(const std::int32_t* first, std::int32_t count) {
  std::string text;
  for (std::int32_t i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(first[i]);
  }
  return text;
}

std::string line(const char* name, const std::string& value) {
  return format("#   %-22s %s\n", name, value.c_str());
}

std::string codeLines(const SimParams& code) {
  const std::int32_t iterations = code.ktrh[0] > 0 ? code.ktrh[0] : 0;
  std::string thresholds;
  for (std::int32_t k = 0; k < iterations; ++k) {
    if (k > 0) thresholds += ' ';
    thresholds += std::to_string(flipThreshold(code, k));
  }
  std::string text = "# Code (rate 1/2, self-orthogonal)\n";
  text += line("nbl", format("%d information bits per frame", code.nbl));
  text += line("ndn", format("%d checks per information bit", code.ndn));
  text += line("ddn (kfp[0])", std::to_string(code.kfp[0]));
  text += line("taps (kfp[1..])", numbers(&code.kfp[1], codeTapCount(code)));
  text += line("iterations (ktrh[0])", std::to_string(code.ktrh[0]));
  text += line("ktrh[1..]", numbers(&code.ktrh[1], iterations));
  text += line("thresholds", iterations > 0 ? "flip when S exceeds " + thresholds : "none");
  return text;
}

std::string pointList(const std::vector<double>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) text += ' ';
    text += format("%.10g", points[i]);
  }
  return text;
}

std::string noiseLines(const SweepFacts& facts, const SweepOptions& o) {
  std::string text = "# Channel: binary symmetric, errors on every information and check bit\n";
  if (o.noise == SweepNoise::Sound) {
    text += line("noise", "sound: independent Bernoulli(p), counter-based generator");
    text += line("seed", std::to_string(o.seed));
  } else {
    text += line("noise", "demo: the Run's shift-and-xor generator, p quantised to 1/1000");
    text += line("seed", format("kst=%d, as a Run seeds it", facts.code.kst));
    text += line("steps per bit", std::to_string(facts.code.stepsPerBit));
  }
  text += line("p", format("%zu point%s: ", facts.p.size(), facts.p.size() == 1 ? "" : "s") +
                        pointList(facts.p));
  return text;
}

std::string stopLines(const SweepFacts& facts, const SweepOptions& o) {
  std::string text = "# Stop rules per point, tested at batch ends in batch order\n";
  text += line("frames", format("at most %lld", static_cast<long long>(o.frames)));
  text += line("frame errors", o.frameErrors > 0
                                   ? format("stop at %lld", static_cast<long long>(o.frameErrors))
                                   : std::string("never stop"));
  text += line("seconds",
               o.maxSeconds ? format("stop after %g", *o.maxSeconds) : std::string("no limit"));
  text += line("batch", format("%lld frames", static_cast<long long>(facts.batchFrames)));
  text += "# Run\n";
  text += line("threads", std::to_string(o.threads));
  text += line("lanes", format("%s, %d frames side by side (MTD_LANES chooses)", facts.lanes.name,
                               facts.lanes.lanes));
  return text;
}

}  // namespace

std::string sweepHeader(const SweepFacts& facts, const SweepOptions& options) {
  std::string text = "# mtd-sim sweep: bit and frame error rates after multithreshold decoding\n";
  text += line("configuration", facts.configuration);
  text += codeLines(facts.code) + noiseLines(facts, options) + stopLines(facts, options);
  text += "#\n";
  text += RULE;
  text +=
      format("# %10s | %11s | %11s | %10s | %10s | %10s | %8s | %9s | %8s\n", "p", "effective p",
             "frames", "frame err.", "BER", "FER", "mean it.", "seconds", "Mbit/s");
  text += RULE;
  return text;
}

std::string sweepRow(const SweepPoint& point) {
  return format("  %10.6g | %11.6g | %11lld | %10lld | %10.4e | %10.4e | %8.3f | %9.2f | %8.1f%s\n",
                point.p, point.effectiveP, static_cast<long long>(point.frames),
                static_cast<long long>(point.frameErrors), point.ber(), point.fer(),
                point.meanIterations(), point.seconds, point.infoMbps(),
                point.complete ? "" : "  (interrupted)");
}

}  // namespace mtd::cli
