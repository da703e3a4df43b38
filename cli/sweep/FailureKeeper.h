#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/SweepOptions.h"
#include "sweep/BatchTally.h"
#include "sweep/PointSetup.h"

namespace mtd::cli {

// Which point of which code the kept frames come from, for their lines and trace commands.
struct FailureContext {
  std::string config;
  std::size_t point = 0;            // its place in the --p list, from 0
  std::filesystem::path directory;  // of its init.txt
};

// Finds the first frames in error of each point for --keep-failures. While the point runs it
// notes from the running totals which frame ranges brought new frame errors; afterwards it
// looks only there, batch by batch with the engine and frame by frame with core's decoder.
class FailureKeeper {
 public:
  explicit FailureKeeper(std::int64_t perPoint) : perPoint_(perPoint) {}

  // The file's comment lines and column names.
  std::string heading() const;

  void startPoint();
  // The running total of the point, as the engine folds batches in order.
  void observe(const sweep::BatchTally& total);
  // One line per kept frame of the point just run over `frames` frames; stops early, saying
  // so, when `cancel` is set.
  std::string collect(const sweep::PointSetup& setup, const FailureContext& context,
                      const SweepOptions& options, std::int64_t frames,
                      const std::atomic<bool>& cancel) const;

 private:
  struct Span {
    std::int64_t first = 0;
    std::int64_t end = 0;
  };

  std::int64_t perPoint_;
  std::vector<Span> spans_;
  std::int64_t framesSeen_ = 0;
  std::int64_t errorsSeen_ = 0;
};

}  // namespace mtd::cli
