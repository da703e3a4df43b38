#include "sweep/BatchRunner.h"

#include <algorithm>
#include <array>

#include "core/Limits.h"
#include "sweep/ExactDecoder.h"
#include "sweep/NoiseBatch.h"

namespace mtd::sweep {

namespace {

struct BatchSpan {
  std::int64_t first = 0;
  std::int64_t count = 0;
};

BatchSpan spanOf(std::int64_t batch, std::int64_t frameLimit) {
  const std::int64_t first = batch * BATCH_FRAMES;
  return {first, std::clamp<std::int64_t>(frameLimit - first, 0, BATCH_FRAMES)};
}

}  // namespace

BatchTally runBatchExact(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                         Workspace& workspace) {
  const BatchSpan span = spanOf(batch, frameLimit);
  const SweepCode& code = setup.code;
  const std::int32_t nbl = code.nbl();
  const std::int64_t frameEnd = span.first + span.count;
  std::uint64_t* words = workspace.noiseWords();
  std::array<Bit, BLOCK_CAPACITY> info{};
  std::array<Bit, BLOCK_CAPACITY> check{};
  BatchTally tally;
  for (std::int64_t group = span.first / GROUP_FRAMES; group * GROUP_FRAMES < frameEnd; ++group) {
    drawNoiseGroups(setup, group, 1, frameEnd, workspace, words);
    for (int lane = 0; lane < GROUP_FRAMES && group * GROUP_FRAMES + lane < frameEnd; ++lane) {
      for (std::int32_t i = 0; i < nbl; ++i) {
        info[i] = static_cast<Bit>((words[i] >> lane) & 1);
        check[i] = static_cast<Bit>((words[nbl + i] >> lane) & 1);
      }
      const FrameOutcome o = decodeFrameExact(workspace.scratch(), code, info.data(), check.data());
      tally.frames += 1;
      tally.frameErrors += o.infoErrorsLeft != 0;
      tally.infoBits += nbl;
      tally.channelInfoErrors += o.channelInfoErrors;
      tally.decodedInfoErrors += o.infoErrorsLeft;
      tally.iterations += o.iterations;
    }
  }
  return tally;
}

BatchTally runBatch(const PointSetup& setup, std::int64_t batch, std::int64_t frameLimit,
                    Workspace& workspace) {
  const BatchSpan span = spanOf(batch, frameLimit);
  return workspace.engine().run(setup, span.first, span.count, workspace);
}

}  // namespace mtd::sweep
