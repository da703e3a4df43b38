#include "sweep/Workspace.h"

#include "core/Limits.h"
#include "sweep/NoiseBatch.h"

namespace mtd::sweep {

namespace {
// Enough noise words for the widest lane group the engine decodes at once.
constexpr std::size_t MAX_GROUPS_AT_ONCE = 8;
}  // namespace

Workspace::Workspace()
    : scratch_(std::make_unique<Simulation>()),
      demo_(std::make_unique<DemoNoise>()),
      noise_(2 * std::size_t{BLOCK_CAPACITY} * MAX_GROUPS_AT_ONCE) {}

Workspace::~Workspace() = default;

DemoNoise& Workspace::demoNoise(const SweepCode& code) {
  demo_->prepare(code);
  return *demo_;
}

}  // namespace mtd::sweep
