#include "cli/sweep/SweepCsv.h"

#include "core/TextFormat.h"

namespace mtd::cli {

namespace {

// A name as one CSV field: quoted when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string csvHeading() {
  return "config,p,effective_p,frames,frame_errors,info_bits,channel_info_errors,"
         "decoded_info_errors,channel_ber,ber,ber_low,ber_high,fer,fer_low,fer_high,"
         "mean_iterations,seconds,info_mbps,complete,stopped_by,thin\n";
}

std::string csvRow(const SweepPoint& point) {
  return csvField(point.config) +
         format(
             ",%.15g,%.15g,%lld,%lld,%lld,%lld,%lld,%.10g,%.10g,%.10g,%.10g,%.10g,%.10g,%.10g,"
             "%.6f,%.4f,%.2f,%d,%s,%d\n",
             point.p, point.effectiveP, static_cast<long long>(point.frames),
             static_cast<long long>(point.frameErrors), static_cast<long long>(point.infoBits),
             static_cast<long long>(point.channelInfoErrors),
             static_cast<long long>(point.decodedInfoErrors), point.channelBer(), point.ber(),
             point.berInterval.low, point.berInterval.high, point.fer(), point.ferInterval.low,
             point.ferInterval.high, point.meanIterations(), point.seconds, point.infoMbps(),
             point.complete() ? 1 : 0, stopName(point.stop), point.thin() ? 1 : 0);
}

}  // namespace mtd::cli
