#include "cli/sweep/SweepCsv.h"

#include "core/TextFormat.h"

namespace mtd::cli {

std::string csvHeading() {
  return "p,effective_p,frames,frame_errors,info_bits,channel_info_errors,decoded_info_errors,"
         "channel_ber,ber,fer,mean_iterations,seconds,info_mbps,complete\n";
}

std::string csvRow(const SweepPoint& point) {
  return format("%.15g,%.15g,%lld,%lld,%lld,%lld,%lld,%.10g,%.10g,%.10g,%.6f,%.4f,%.2f,%d\n",
                point.p, point.effectiveP, static_cast<long long>(point.frames),
                static_cast<long long>(point.frameErrors), static_cast<long long>(point.infoBits),
                static_cast<long long>(point.channelInfoErrors),
                static_cast<long long>(point.decodedInfoErrors), point.channelBer(), point.ber(),
                point.fer(), point.meanIterations(), point.seconds, point.infoMbps(),
                point.complete ? 1 : 0);
}

}  // namespace mtd::cli
