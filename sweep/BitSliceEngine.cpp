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

constexpr std::size_t MAX_GROUPS = 8;         // of a decoded chunk
constexpr std::size_t MAX_NOISE_GROUPS = 16;  // drawn at once
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
      difference_(allocateWords(std::size_t{BLOCK_CAPACITY} * MAX_GROUPS)),
      noise_(allocateWords(2 * std::size_t{BLOCK_CAPACITY} * MAX_NOISE_GROUPS)) {}

BitSliceEngine::~BitSliceEngine() = default;

void BitSliceEngine::copyChunk(int drawnGroups, int firstGroup, int chunkGroups,
                               std::size_t positions) {
  const std::uint64_t* from = noise_.get() + firstGroup;
  std::uint64_t* to = rows_.get();
  for (std::size_t r = 0; r < positions; ++r) {
    std::copy_n(from + r * drawnGroups, chunkGroups, to + r * chunkGroups);
  }
}

BatchTally BitSliceEngine::run(const PointSetup& setup, std::int64_t firstFrame, std::int64_t count,
                               Workspace& workspace, FrameOutcome* perFrame) {
  const LanePathEntry& path = runnablePath(setup.lanes);
  const RunPlan plan(setup.code);
  const bool refill = setup.refill == LaneRefill::Always ||
                      (setup.refill == LaneRefill::PathDefault && path.refills);
  if (refill) return runRefilling(setup, path, plan, firstFrame, count, workspace, perFrame);
  const int lanes = path.lanes;
  const int chunkGroups = lanes / static_cast<int>(GROUP_FRAMES);
  const int drawGroups = std::max(chunkGroups, path.noiseGroups);
  const std::size_t positions = 2 * std::size_t(setup.code.nbl());
  const std::int64_t end = firstFrame + count;
  BatchTally tally;
  for (std::int64_t drawn = firstFrame; drawn < end; drawn += drawGroups * GROUP_FRAMES) {
    // The noise is drawn several chunks at once where the path's noise runs more streams side
    // by side than its decoder has lanes; a chunk's rows are then copied out of the draw.
    const std::int64_t groupsLeft = (end - drawn + GROUP_FRAMES - 1) / GROUP_FRAMES;
    const auto groups = static_cast<int>(std::min<std::int64_t>(
        drawGroups, (groupsLeft + chunkGroups - 1) / chunkGroups * chunkGroups));
    const bool direct = groups == chunkGroups;
    drawNoiseGroups(setup, drawn / GROUP_FRAMES, groups, end, workspace,
                    direct ? rows_.get() : noise_.get());
    for (int chunk = 0; chunk < groups; chunk += chunkGroups) {
      const std::int64_t first = drawn + chunk * GROUP_FRAMES;
      if (first >= end) break;
      if (!direct) copyChunk(groups, chunk, chunkGroups, positions);
      BitSliceJob job;
      job.code = &setup.code;
      job.plan = &plan;
      job.rows = rows_.get();
      job.difference = difference_.get();
      job.validLanes = static_cast<int>(std::min<std::int64_t>(lanes, end - first));
      job.perLane = perFrame ? perFrame + (first - firstFrame) : nullptr;
      tally += path.decode(job);
    }
  }
  return tally;
}

BatchTally BitSliceEngine::runRefilling(const PointSetup& setup, const LanePathEntry& path,
                                        const RunPlan& plan, std::int64_t firstFrame,
                                        std::int64_t count, Workspace& workspace,
                                        FrameOutcome* perFrame) {
  // All of a span's groups are drawn at once, whole lane words of them, so that a lane can
  // move on to its frame of the next slice.
  const std::int64_t wordGroups = path.lanes / GROUP_FRAMES;
  const std::int64_t spanFrames = std::int64_t{MAX_NOISE_GROUPS} * GROUP_FRAMES;
  const std::int64_t end = firstFrame + count;
  BatchTally tally;
  for (std::int64_t first = firstFrame; first < end; first += spanFrames) {
    const std::int64_t frames = std::min(spanFrames, end - first);
    const std::int64_t wordFrames = wordGroups * GROUP_FRAMES;
    const auto groups = static_cast<int>((frames + wordFrames - 1) / wordFrames * wordGroups);
    drawNoiseGroups(setup, first / GROUP_FRAMES, groups, end, workspace, noise_.get());
    RefillJob job;
    job.code = &setup.code;
    job.plan = &plan;
    job.noise = noise_.get();
    job.groups = groups;
    job.rows = rows_.get();
    job.difference = difference_.get();
    job.frames = static_cast<int>(frames);
    job.perFrame = perFrame ? perFrame + (first - firstFrame) : nullptr;
    tally += path.decodeRefill(job);
  }
  return tally;
}

}  // namespace mtd::sweep
