#include "cli/sweep/FailureKeeper.h"

#include <algorithm>
#include <memory>

#include "core/TextFormat.h"
#include "sweep/BatchRunner.h"
#include "sweep/ExactDecoder.h"
#include "sweep/FrameNoise.h"
#include "sweep/Workspace.h"

namespace mtd::cli {

namespace {

const char* noiseName(sweep::NoiseKind noise) {
  return noise == sweep::NoiseKind::Demo ? "demo" : "sound";
}

// Scans frames in order through core's decoder and writes a line for each one in error.
class FailureScan {
 public:
  FailureScan(const sweep::PointSetup& setup, std::int64_t wanted)
      : setup_(setup),
        wanted_(wanted),
        scratch_(std::make_unique<Simulation>()),
        info_(static_cast<std::size_t>(setup.code.nbl())),
        check_(info_.size()) {}

  bool full() const { return found_ >= wanted_; }
  const std::string& lines() const { return lines_; }

  void scan(std::int64_t first, std::int64_t end) {
    for (std::int64_t frame = first; frame < end && !full(); ++frame) {
      sweep::frameNoise(setup_, frame, info_.data(), check_.data());
      const sweep::FrameOutcome outcome =
          sweep::decodeFrameExact(*scratch_, setup_.code, info_.data(), check_.data());
      if (outcome.infoErrorsLeft > 0) keep(frame, outcome);
    }
  }

 private:
  void keep(std::int64_t frame, const sweep::FrameOutcome& outcome) {
    std::int64_t checkErrors = 0;
    for (const Bit bit : check_) checkErrors += bit;
    const std::string p = format("%.15g", setup_.p);
    const std::string seed =
        setup_.noise == sweep::NoiseKind::Sound
            ? format(" --seed %llu", static_cast<unsigned long long>(setup_.seed))
            : std::string();
    lines_ += format(
        "%u,%s,%s,%llu,%lld,%d,%lld,%d,%d,mtd-sim sweep --noise %s%s --p %s "
        "--trace-frame %u:%lld\n",
        setup_.pointIndex, p.c_str(), noiseName(setup_.noise),
        static_cast<unsigned long long>(setup_.seed), static_cast<long long>(frame),
        outcome.channelInfoErrors, static_cast<long long>(checkErrors), outcome.infoErrorsLeft,
        outcome.iterations, noiseName(setup_.noise), seed.c_str(), p.c_str(), setup_.pointIndex,
        static_cast<long long>(frame));
    ++found_;
  }

  const sweep::PointSetup& setup_;
  std::int64_t wanted_;
  std::int64_t found_ = 0;
  std::unique_ptr<Simulation> scratch_;
  std::vector<Bit> info_;
  std::vector<Bit> check_;
  std::string lines_;
};

}  // namespace

std::string FailureKeeper::heading() const {
  return format(
      "# The first %lld frames in error of each point of the sweep (frames with information "
      "errors left after decoding).\n"
      "# Each is identified by its point (place in the --p list, from 0), p, noise, seed and "
      "frame index (from 0);\n"
      "# run the trace command from the same directory (the same init.txt) to follow its "
      "decoding.\n"
      "point,p,noise,seed,frame,channel_info_errors,channel_check_errors,info_errors_left,"
      "iterations,trace\n",
      static_cast<long long>(perPoint_));
}

void FailureKeeper::startPoint() {
  spans_.clear();
  framesSeen_ = 0;
  errorsSeen_ = 0;
}

void FailureKeeper::observe(const sweep::BatchTally& total) {
  if (total.frameErrors > errorsSeen_ && errorsSeen_ < perPoint_) {
    spans_.push_back({framesSeen_, total.frames});
  }
  framesSeen_ = total.frames;
  errorsSeen_ = total.frameErrors;
}

std::string FailureKeeper::collect(const sweep::PointSetup& setup, const SweepOptions& options,
                                   std::int64_t frames, const std::atomic<bool>& cancel) const {
  FailureScan scan(setup, perPoint_);
  auto workspace = std::make_unique<sweep::Workspace>();
  for (const Span& span : spans_) {
    // A span may hold several batches; the engine says cheaply which of them hold failures.
    for (std::int64_t batch = span.first / sweep::BATCH_FRAMES;
         batch * sweep::BATCH_FRAMES < span.end && !scan.full(); ++batch) {
      if (cancel.load()) return scan.lines() + "# interrupted: the search for more stopped\n";
      const std::int64_t first = batch * sweep::BATCH_FRAMES;
      const std::int64_t end = std::min({first + sweep::BATCH_FRAMES, span.end, frames});
      if (sweep::runBatch(setup, batch, options.frames, *workspace).frameErrors > 0) {
        scan.scan(first, end);
      }
    }
  }
  return scan.lines();
}

}  // namespace mtd::cli
