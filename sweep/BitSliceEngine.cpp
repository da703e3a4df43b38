#include "sweep/BitSliceEngine.h"

#include <algorithm>
#include <new>

#include "core/Limits.h"
#include "sweep/BitSliceJob.h"
#include "sweep/NoiseBatch.h"
#include "sweep/RunPlan.h"
#include "sweep/Workspace.h"

namespace mtd::sweep {

namespace {

constexpr std::size_t MAX_GROUPS = 8;
constexpr std::align_val_t WORD_ALIGNMENT{64};

std::uint64_t* allocateWords(std::size_t count) {
  auto* words =
      static_cast<std::uint64_t*>(::operator new[](count * sizeof(std::uint64_t), WORD_ALIGNMENT));
  std::fill(words, words + count, 0);
  return words;
}

const LanePathEntry& runnablePath(LanePath path) {
  return lanePathSupported(path) ? lanePath(path) : lanePath(LanePath::Widest);
}

}  // namespace

void BitSliceEngine::AlignedFree::operator()(std::uint64_t* p) const {
  ::operator delete[](p, WORD_ALIGNMENT);
}

BitSliceEngine::BitSliceEngine()
    : rows_(allocateWords(2 * std::size_t{BLOCK_CAPACITY} * MAX_GROUPS)),
      difference_(allocateWords(std::size_t{BLOCK_CAPACITY} * MAX_GROUPS)) {}

BitSliceEngine::~BitSliceEngine() = default;

BatchTally BitSliceEngine::run(const PointSetup& setup, std::int64_t firstFrame, std::int64_t count,
                               Workspace& workspace, FrameOutcome* perFrame) {
  const LanePathEntry& path = runnablePath(setup.lanes);
  const RunPlan plan(setup.code);
  const int lanes = path.lanes;
  const int groups = lanes / static_cast<int>(GROUP_FRAMES);
  const std::int64_t end = firstFrame + count;
  BatchTally tally;
  for (std::int64_t first = firstFrame; first < end; first += lanes) {
    drawNoiseGroups(setup, first / GROUP_FRAMES, groups, end, workspace, rows_.get());
    BitSliceJob job;
    job.code = &setup.code;
    job.plan = &plan;
    job.rows = rows_.get();
    job.difference = difference_.get();
    job.validLanes = static_cast<int>(std::min<std::int64_t>(lanes, end - first));
    job.perLane = perFrame ? perFrame + (first - firstFrame) : nullptr;
    tally += path.decode(job);
  }
  return tally;
}

}  // namespace mtd::sweep
