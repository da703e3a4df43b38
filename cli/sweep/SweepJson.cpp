#include "cli/sweep/SweepJson.h"

#include <nlohmann/json.hpp>

#include "core/CodeTaps.h"

namespace mtd::cli {

namespace {

using nlohmann::json;

json codeJson(const SweepCurve& curve) {
  const SimParams& code = curve.code.params;
  const std::int32_t iterations = code.ktrh[0] > 0 ? code.ktrh[0] : 0;
  json thresholds = json::array();
  json ktrh = json::array();
  for (std::int32_t k = 0; k < iterations; ++k) {
    thresholds.push_back(flipThreshold(code, k));
    ktrh.push_back(code.ktrh[k + 1]);
  }
  json taps = json::array();
  for (std::int32_t j = 0; j < codeTapCount(code); ++j) taps.push_back(code.kfp[j + 1]);
  return {{"name", curve.name},
          {"configuration", curve.code.source},
          {"nbl", code.nbl},
          {"ndn", code.ndn},
          {"ddn", code.kfp[0]},
          {"taps", taps},
          {"iterations", code.ktrh[0]},
          {"ktrh", ktrh},
          {"flip_thresholds", thresholds},
          {"kst", code.kst},
          {"p", curve.p}};
}

json settingsJson(const SweepSettings& settings) {
  const SweepOptions& o = settings.options;
  json codes = json::array();
  for (const SweepCurve& curve : settings.curves) codes.push_back(codeJson(curve));
  json stop = {{"frames", o.frames},
               {"frame_errors", o.frameErrors},
               {"batch_frames", settings.batchFrames}};
  stop["max_seconds"] = o.maxSeconds ? json(*o.maxSeconds) : json(nullptr);
  return {{"program", "mtd-sim sweep"},
          {"version", settings.version},
          {"command", settings.commandLine},
          {"noise", o.noise == SweepNoise::Demo ? "demo" : "sound"},
          {"seed", o.seed},
          {"threads", o.threads},
          {"lanes", settings.lanes},
          {"stop_rules", stop},
          {"codes", codes}};
}

json pointJson(const SweepPoint& point) {
  return {{"config", point.config},
          {"p", point.p},
          {"effective_p", point.effectiveP},
          {"frames", point.frames},
          {"frame_errors", point.frameErrors},
          {"info_bits", point.infoBits},
          {"channel_info_errors", point.channelInfoErrors},
          {"decoded_info_errors", point.decodedInfoErrors},
          {"channel_ber", point.channelBer()},
          {"ber", point.ber()},
          {"ber_interval", {point.berInterval.low, point.berInterval.high}},
          {"fer", point.fer()},
          {"fer_interval", {point.ferInterval.low, point.ferInterval.high}},
          {"mean_iterations", point.meanIterations()},
          {"seconds", point.seconds},
          {"complete", point.complete()},
          {"stopped_by", stopName(point.stop)},
          {"thin", point.thin()}};
}

}  // namespace

std::string sweepJson(const SweepSettings& settings, const std::vector<SweepPoint>& points,
                      bool interrupted) {
  json rows = json::array();
  for (const SweepPoint& point : points) rows.push_back(pointJson(point));
  json document = {{"settings", settingsJson(settings)},
                   {"interval_confidence", 0.95},
                   {"interrupted", interrupted},
                   {"points", rows}};
  return document.dump(2) + "\n";
}

}  // namespace mtd::cli
