#include "control/Program.h"

#include <utility>

namespace mtd {

Program::Program(WindowSystem& windowSystem, std::filesystem::path configDirectory)
    : windowSystem_(windowSystem),
      configDirectory_(std::move(configDirectory)),
      sim_(std::make_unique<Simulation>()),
      display_(windowSystem, *sim_),
      pacing_(windowSystem, flags_, [this] { hooks_.reloadAndRedraw(); }),
      hooks_(*sim_, display_, pacing_, flags_, windowSystem, configDirectory_),
      controller_(*sim_, hooks_),
      window_(*this),
      dialogs_(*this) {
  hooks_.attach(controller_);
}

Program::~Program() = default;

}  // namespace mtd
