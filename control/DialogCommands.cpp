#include "control/DialogCommands.h"

#include <memory>

#include "ProjectVersion.h"
#include "control/Menu.h"
#include "control/Program.h"
#include "core/Configuration.h"
#include "core/ConfigurationWriter.h"

namespace mtd {

bool DialogCommands::handles(int commandId) {
  return commandId == CMD_SETTINGS || commandId == CMD_COLOURS || commandId == CMD_ABOUT;
}

void DialogCommands::onCommand(int commandId) {
  if (host_ == nullptr) return;
  switch (commandId) {
    case CMD_SETTINGS:
      // The menu grays Settings during a run; its command must not arrive then either.
      if (program_.flags().running && !program_.flags().resetRequested) return;
      host_->editSettings(currentSettings(),
                          [this](const SettingsForm& form) { return acceptSettings(form); });
      break;
    case CMD_COLOURS:
      host_->showColourLegend();
      break;
    case CMD_ABOUT:
      host_->showMessage("About mtd-demo", aboutText());
      break;
    default:
      break;
  }
}

SettingsForm DialogCommands::currentSettings() const {
  // A scratch simulation: loading re-seeds the generator and clears the tallies, which the
  // program's own must keep until the next Run or Reset.
  const auto scratch = std::make_unique<Simulation>();
  loadConfiguration(*scratch, program_.configDirectory());
  return settingsFormOf(scratch->params);
}

std::optional<SettingsRefusal> DialogCommands::acceptSettings(const SettingsForm& form) {
  const auto outcome = validateSettings(form);
  if (const auto* problem = std::get_if<SettingsProblem>(&outcome)) {
    return SettingsRefusal{problem->field, problem->message};
  }
  const SimParams& params = std::get<SimParams>(outcome);
  if (auto failure =
          writeConfigurationFile(program_.configDirectory(), configurationText(params))) {
    return SettingsRefusal{std::nullopt, *failure};
  }
  if (!program_.flags().running) program_.reloadAndRedraw();
  return std::nullopt;
}

std::string DialogCommands::aboutText() {
  return std::string("mtd-demo ") + PROJECT_VERSION_TEXT +
         "\n"
         "A demonstration of multithreshold decoding.\n"
         "\n"
         "Copyright (c) 2026 the mtd-demo authors.\n"
         "Released under the MIT licence: see the LICENSE file.";
}

}  // namespace mtd
