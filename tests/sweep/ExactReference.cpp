#include "ExactReference.h"

#include "sweep/BatchRunner.h"
#include "sweep/NoiseBatch.h"

namespace mtd::sweep::testing {

std::vector<FrameOutcome> ExactReference::outcomes(const PointSetup& setup, std::int64_t firstFrame,
                                                   std::int64_t count) {
  const std::int32_t nbl = setup.code.nbl();
  const std::int64_t end = firstFrame + count;
  std::vector<std::uint64_t> words(2 * std::size_t(nbl));
  std::vector<Bit> info(nbl), check(nbl);
  std::vector<FrameOutcome> result;
  // The portable noise: the engine's paths must match it whichever noise they drew.
  const PointSetup portable = onPath(setup, LanePath::Portable);
  for (std::int64_t group = firstFrame / GROUP_FRAMES; group * GROUP_FRAMES < end; ++group) {
    drawNoiseGroups(portable, group, 1, end, workspace_, words.data());
    for (int lane = 0; lane < GROUP_FRAMES && group * GROUP_FRAMES + lane < end; ++lane) {
      for (std::int32_t i = 0; i < nbl; ++i) {
        info[i] = static_cast<Bit>((words[i] >> lane) & 1);
        check[i] = static_cast<Bit>((words[nbl + i] >> lane) & 1);
      }
      result.push_back(decodeFrameExact(*scratch_, setup.code, info.data(), check.data()));
    }
  }
  return result;
}

BatchTally ExactReference::batch(const PointSetup& setup, std::int64_t batch,
                                 std::int64_t frameLimit) {
  const BatchSpan span = batchSpan(batch, frameLimit);
  BatchTally tally;
  for (const FrameOutcome& o : outcomes(setup, span.first, span.count)) {
    tally.frames += 1;
    tally.frameErrors += o.infoErrorsLeft != 0;
    tally.infoBits += setup.code.nbl();
    tally.channelInfoErrors += o.channelInfoErrors;
    tally.decodedInfoErrors += o.infoErrorsLeft;
    tally.iterations += o.iterations;
  }
  return tally;
}

}  // namespace mtd::sweep::testing
