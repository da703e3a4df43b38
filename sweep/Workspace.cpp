#include "sweep/Workspace.h"

namespace mtd::sweep {

Workspace::Workspace() : demo_(std::make_unique<DemoNoise>()) {}

Workspace::~Workspace() = default;

DemoNoise& Workspace::demoNoise(const SweepCode& code) {
  demo_->prepare(code);
  return *demo_;
}

}  // namespace mtd::sweep
