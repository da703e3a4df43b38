#include "cli/sweep/FailureKeeper.h"

#include <algorithm>
#include <memory>

#include "cli/Program.h"
#include "core/TextFormat.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/ExactDecoder.h"
#include "sweep/NoiseBatch.h"
#include "sweep/Workspace.h"

namespace mtd::cli {

namespace {

const char* noiseName(sweep::NoiseKind noise) {
  return noise == sweep::NoiseKind::Demo ? "demo" : "sound";
}

// Scans frames in order through core's decoder and writes a line for each one in error.
class FailureScan {
 public:
  FailureScan(const sweep::PointSetup& setup, const FailureContext& context, std::int64_t wanted)
      : setup_(setup),
        context_(context),
        wanted_(wanted),
        scratch_(std::make_unique<Simulation>()),
        workspace_(std::make_unique<sweep::Workspace>()),
        words_(2 * static_cast<std::size_t>(setup.code.nbl())),
        info_(static_cast<std::size_t>(setup.code.nbl())),
        check_(info_.size()) {}

  bool full() const { return found_ >= wanted_; }
  const std::string& lines() const { return lines_; }

  // The frames the engine found in error, in order: each group of frames is drawn once, and
  // each frame taken from its lane and decoded by core's decoder for its line.
  void scan(const std::vector<std::int64_t>& frames) {
    const std::int32_t nbl = setup_.code.nbl();
    for (const std::int64_t frame : frames) {
      if (full()) return;
      const std::int64_t group = frame / sweep::GROUP_FRAMES;
      if (group != drawnGroup_) {
        sweep::drawNoiseGroups(setup_, group, 1, (group + 1) * sweep::GROUP_FRAMES, *workspace_,
                               words_.data());
        drawnGroup_ = group;
      }
      const int lane = static_cast<int>(frame % sweep::GROUP_FRAMES);
      for (std::int32_t i = 0; i < nbl; ++i) {
        info_[i] = static_cast<Bit>((words_[i] >> lane) & 1);
        check_[i] = static_cast<Bit>((words_[nbl + i] >> lane) & 1);
      }
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
    const std::string directory = shellCommandLine({context_.directory.string()});
    lines_ += format(
        "%s,%zu,%s,%s,%llu,%lld,%d,%lld,%d,%d,mtd-sim sweep -C %s --noise %s%s --p %s "
        "--trace-frame %lld\n",
        context_.config.c_str(), context_.point, p.c_str(), noiseName(setup_.noise),
        static_cast<unsigned long long>(setup_.seed), static_cast<long long>(frame),
        outcome.channelInfoErrors, static_cast<long long>(checkErrors), outcome.infoErrorsLeft,
        outcome.iterations, directory.c_str(), noiseName(setup_.noise), seed.c_str(), p.c_str(),
        static_cast<long long>(frame));
    ++found_;
  }

  const sweep::PointSetup& setup_;
  const FailureContext& context_;
  std::int64_t wanted_;
  std::int64_t found_ = 0;
  std::unique_ptr<Simulation> scratch_;
  std::unique_ptr<sweep::Workspace> workspace_;
  std::vector<std::uint64_t> words_;
  std::int64_t drawnGroup_ = -1;
  std::vector<Bit> info_;
  std::vector<Bit> check_;
  std::string lines_;
};

}  // namespace

std::string FailureKeeper::heading() const {
  return format(
      "# The first %lld frames in error of each point of the sweep (frames with information "
      "errors left after decoding).\n"
      "# Each is identified by its code, point (place in the --p list, from 0), p, noise, seed "
      "and frame index (from 0);\n"
      "# run the trace command from the same directory to follow its decoding.\n"
      "config,point,p,noise,seed,frame,channel_info_errors,channel_check_errors,info_errors_left,"
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

std::string FailureKeeper::collect(const sweep::PointSetup& setup, const FailureContext& context,
                                   const SweepOptions& options, std::int64_t frames,
                                   const std::atomic<bool>& cancel) const {
  FailureScan scan(setup, context, perPoint_);
  auto workspace = std::make_unique<sweep::Workspace>();
  std::vector<sweep::FrameOutcome> outcomes(static_cast<std::size_t>(sweep::BATCH_FRAMES));
  std::vector<std::int64_t> failed;
  for (const Span& span : spans_) {
    // The engine decodes a batch with every frame's outcome: only its failures are traced.
    for (std::int64_t batch = span.first / sweep::BATCH_FRAMES;
         batch * sweep::BATCH_FRAMES < span.end && !scan.full(); ++batch) {
      if (cancel.load()) return scan.lines() + "# interrupted: the search for more stopped\n";
      const std::int64_t first = batch * sweep::BATCH_FRAMES;
      const std::int64_t end = std::min({first + sweep::BATCH_FRAMES, span.end, frames});
      const std::int64_t count = std::min(sweep::BATCH_FRAMES, options.frames - first);
      workspace->engine().run(setup, first, count, *workspace, outcomes.data());
      failed.clear();
      for (std::int64_t frame = first; frame < end; ++frame) {
        if (outcomes[static_cast<std::size_t>(frame - first)].infoErrorsLeft > 0) {
          failed.push_back(frame);
        }
      }
      scan.scan(failed);
    }
  }
  return scan.lines();
}

}  // namespace mtd::cli
