#pragma once

#include <memory>

#include "sweep/BitSliceEngine.h"
#include "sweep/DemoNoise.h"

namespace mtd::sweep {

// Buffers for one thread's batches, sized once for the largest block so that no batch
// allocates. Not shared between threads.
class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  DemoNoise& demoNoise(const SweepCode& code);
  BitSliceEngine& engine() { return engine_; }

 private:
  std::unique_ptr<DemoNoise> demo_;
  BitSliceEngine engine_;
};

}  // namespace mtd::sweep
