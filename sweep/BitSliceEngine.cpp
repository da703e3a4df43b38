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

constexpr std::size_t MAX_GROUPS = 4;
constexpr std::align_val_t WORD_ALIGNMENT{64};

std::uint64_t* allocateWords(std::size_t count) {
  auto* words =
      static_cast<std::uint64_t*>(::operator new[](count * sizeof(std::uint64_t), WORD_ALIGNMENT));
  std::fill(words, words + count, 0);
  return words;
}

}  // namespace

bool lanePathSupported(LanePath path) {
  if (path == LanePath::Portable) return true;
#if defined(__x86_64__) && defined(__GNUC__)
  // The AVX2 files may also count bits with POPCNT, which every AVX2 processor has.
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
#else
  return false;
#endif
}

LanePath bestLanePath() {
  return lanePathSupported(LanePath::Avx2) ? LanePath::Avx2 : LanePath::Portable;
}

int lanesOf(LanePath path) { return path == LanePath::Avx2 ? 256 : 64; }

const char* lanePathName(LanePath path) {
  return path == LanePath::Avx2 ? "avx2 (256 lanes)" : "portable (64 lanes)";
}

void BitSliceEngine::AlignedFree::operator()(std::uint64_t* p) const {
  ::operator delete[](p, WORD_ALIGNMENT);
}

BitSliceEngine::BitSliceEngine(LanePath path)
    : path_(lanePathSupported(path) ? path : LanePath::Portable),
      rows_(allocateWords(2 * std::size_t{BLOCK_CAPACITY} * MAX_GROUPS)),
      difference_(allocateWords(std::size_t{BLOCK_CAPACITY} * MAX_GROUPS)) {}

BitSliceEngine::~BitSliceEngine() = default;

BatchTally BitSliceEngine::run(const PointSetup& setup, std::int64_t firstFrame, std::int64_t count,
                               Workspace& workspace, FrameOutcome* perFrame) {
  const RunPlan plan(setup.code);
  const int lanes = lanesOf(path_);
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
    tally += path_ == LanePath::Avx2 ? decodeChunkAvx2(job) : decodeChunkPortable(job);
  }
  return tally;
}

}  // namespace mtd::sweep
