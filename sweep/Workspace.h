#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/Simulation.h"
#include "sweep/BitSliceEngine.h"
#include "sweep/DemoNoise.h"

namespace mtd::sweep {

// Buffers for one thread's batches, sized once for the largest block so that no batch
// allocates. Not shared between threads.
class Workspace {
 public:
  explicit Workspace(LanePath path = bestLanePath());
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Simulation& scratch() { return *scratch_; }
  DemoNoise& demoNoise(const SweepCode& code);
  std::uint64_t* noiseWords() { return noise_.data(); }
  BitSliceEngine& engine() { return engine_; }

 private:
  std::unique_ptr<Simulation> scratch_;
  std::unique_ptr<DemoNoise> demo_;
  std::vector<std::uint64_t> noise_;
  BitSliceEngine engine_;
};

}  // namespace mtd::sweep
