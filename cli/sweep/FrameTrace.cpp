#include "cli/sweep/FrameTrace.h"

#include <memory>

#include "cli/trace/DecodingReport.h"
#include "cli/trace/DecodingTrace.h"
#include "core/TextFormat.h"
#include "sweep/FrameNoise.h"

namespace mtd::cli {

std::string frameTraceText(const sweep::PointSetup& setup, const FrameReference& frame) {
  auto sim = std::make_unique<Simulation>();
  sim->params = setup.code.params;
  sim->clearBlockTally();
  // The rows as the noise passes leave them: the check errors start the syndrome row.
  BlockState& rows = sim->rows;
  sweep::frameNoise(setup, frame.frame, rows.infoErrors.data(), rows.checkErrors.data());
  for (std::int32_t i = 0; i < setup.code.nbl(); ++i) {
    rows.difference[i] = 0;
    rows.syndrome[i] = rows.checkErrors[i];
  }
  DecodingTrace trace;
  trace.fromRun = false;
  traceBlockDecoding(*sim, trace);

  const bool sound = setup.noise == sweep::NoiseKind::Sound;
  std::string text =
      format("FRAME %lld OF POINT %lld (p=%.15g, EFFECTIVE p=%.15g) | NOISE %s, %s\n",
             static_cast<long long>(frame.frame), static_cast<long long>(frame.point), setup.p,
             sweep::effectiveP(setup), sound ? "SOUND" : "DEMO",
             sound ? format("SEED=%llu", static_cast<unsigned long long>(setup.seed)).c_str()
                   : format("RAND=%d", setup.code.params.kst).c_str());
  text += format("K=%d\n", setup.code.nbl());
  text += decodingText(trace);
  text += trace.finalInfoErrors > 0
              ? format("FRAME IN ERROR: %d INFORMATION ERRORS LEFT\n", trace.finalInfoErrors)
              : std::string("FRAME DECODED: NO INFORMATION ERROR LEFT\n");
  return text;
}

}  // namespace mtd::cli
