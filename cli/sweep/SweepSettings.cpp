#include "cli/sweep/SweepSettings.h"

#include <map>

#include "core/CodeTaps.h"
#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

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

std::string pointList(const std::vector<double>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) text += ' ';
    text += format("%.10g", points[i]);
  }
  return text;
}

std::string codeLines(const SweepCurve& curve, const SweepOptions& o) {
  const SimParams& code = curve.code.params;
  const std::int32_t iterations = code.ktrh[0] > 0 ? code.ktrh[0] : 0;
  std::string thresholds;
  for (std::int32_t k = 0; k < iterations; ++k) {
    if (k > 0) thresholds += ' ';
    thresholds += std::to_string(flipThreshold(code, k));
  }
  std::string text = format("# Code %s (rate 1/2, self-orthogonal)\n", curve.name.c_str());
  text += line("configuration", curve.code.source);
  text += line("nbl", format("%d information bits per frame", code.nbl));
  text += line("ndn", format("%d checks per information bit", code.ndn));
  text += line("ddn (kfp[0])", std::to_string(code.kfp[0]));
  text += line("taps (kfp[1..])", numbers(&code.kfp[1], codeTapCount(code)));
  text += line("iterations (ktrh[0])", std::to_string(code.ktrh[0]));
  text += line("ktrh[1..]", numbers(&code.ktrh[1], iterations));
  text += line("thresholds", iterations > 0 ? "flip when S exceeds " + thresholds : "none");
  if (o.noise == SweepNoise::Demo) {
    text += line("kst", std::to_string(code.kst));
    text += line("steps per bit", std::to_string(code.stepsPerBit));
  }
  text += line("p", format("%zu point%s: ", curve.p.size(), curve.p.size() == 1 ? "" : "s") +
                        pointList(curve.p));
  return text;
}

std::string noiseLines(const SweepSettings& settings) {
  const SweepOptions& o = settings.options;
  std::string text = "# Channel: binary symmetric, errors on every information and check bit\n";
  if (o.noise == SweepNoise::Sound) {
    text += line("noise", "sound: Bernoulli(p) per bit, counter-based");
    text += line("seed", std::to_string(o.seed));
  } else {
    text += line("noise", "demo: the Run's generator, p in steps of 1/1000");
    text += line("seed", "kst of each code, as a Run seeds it");
  }
  return text;
}

std::string stopLines(const SweepSettings& settings) {
  const SweepOptions& o = settings.options;
  std::string text = "# Stop rules per point, tested at batch ends in batch order\n";
  text += line("frames", format("at most %lld", static_cast<long long>(o.frames)));
  text += line("frame errors", o.frameErrors > 0
                                   ? format("stop at %lld", static_cast<long long>(o.frameErrors))
                                   : std::string("never stop"));
  text += line("seconds",
               o.maxSeconds ? format("stop after %g", *o.maxSeconds) : std::string("no limit"));
  text += line("batch", format("%lld frames", static_cast<long long>(settings.batchFrames)));
  text += "# Run\n";
  text += line("threads", std::to_string(o.threads));
  text += line("lanes", settings.lanes + " (MTD_LANES chooses)");
  return text;
}

}  // namespace

std::string settingsComment(const SweepSettings& settings) {
  std::string text = "# mtd-sim sweep: bit and frame error rates after multithreshold decoding\n";
  text += line("version", settings.version);
  text += line("command", settings.commandLine);
  for (const SweepCurve& curve : settings.curves) text += codeLines(curve, settings.options);
  return text + noiseLines(settings) + stopLines(settings);
}

std::vector<std::string> curveNames(const std::vector<LoadedCode>& codes) {
  std::vector<std::string> names;
  std::map<std::string, int> uses;
  for (const LoadedCode& code : codes) {
    const std::filesystem::path last = code.directory.lexically_normal().filename();
    std::string name = last.empty() || last == "." ? "default" : last.string();
    if (last.empty() && code.directory.lexically_normal() != ".") {
      name = code.directory.string();
    }
    names.push_back(name);
    ++uses[name];
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (uses[names[i]] > 1) names[i] = codes[i].directory.string();
  }
  return names;
}

}  // namespace mtd::cli
