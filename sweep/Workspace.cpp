#include "sweep/Workspace.h"

#include "core/Limits.h"
#include "sweep/NoiseBatch.h"

namespace mtd::sweep {

namespace {
// The exact path draws one group of 64 frames at a time.
constexpr std::size_t MAX_GROUPS_AT_ONCE = 1;
}  // namespace

Workspace::Workspace(LanePath path)
    : scratch_(std::make_unique<Simulation>()),
      demo_(std::make_unique<DemoNoise>()),
      noise_(2 * std::size_t{BLOCK_CAPACITY} * MAX_GROUPS_AT_ONCE),
      engine_(path) {}

Workspace::~Workspace() = default;

DemoNoise& Workspace::demoNoise(const SweepCode& code) {
  demo_->prepare(code);
  return *demo_;
}

}  // namespace mtd::sweep
