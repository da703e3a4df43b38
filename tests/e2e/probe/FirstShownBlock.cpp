#include "FirstShownBlock.h"

#include <memory>

#include "control/BlockSelection.h"
#include "core/Configuration.h"
#include "core/Passes.h"
#include "core/Simulation.h"

namespace mtd::e2e {

namespace {

std::unique_ptr<Simulation> loadSimulation(const std::string& directory) {
  auto sim = std::make_unique<Simulation>();
  loadConfiguration(*sim, directory);
  return sim;
}

}  // namespace

std::int32_t configuredBlockLength(const std::string& directory) {
  return loadSimulation(directory)->params.nbl;
}

std::vector<std::int32_t> firstShownErrors(const std::string& directory) {
  auto sim = loadSimulation(directory);
  for (std::int32_t trial = 0; trial < sim->params.maxBlock; ++trial) {
    sim->clearBlockTally();
    const GeneratorState saved = sim->generator.saveState();
    generateInfoNoise(*sim, nullptr);
    generateCheckNoise(*sim, nullptr);
    formSyndrome(*sim, nullptr);
    decodeBlock(*sim, nullptr);
    if (selectBlock(sim->params, sim->blockTally, sim->decoder.lastIteration) !=
        SelectionVerdict::Shown) {
      continue;
    }
    sim->generator.restoreState(saved);
    sim->clearBlockTally();
    generateInfoNoise(*sim, nullptr);
    std::vector<std::int32_t> errors;
    for (std::int32_t position = 0; position < sim->params.nbl; ++position) {
      if (sim->rows.infoErrors[static_cast<std::size_t>(position)]) errors.push_back(position);
    }
    return errors;
  }
  return {};
}

}  // namespace mtd::e2e
