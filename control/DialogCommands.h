#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "control/DialogHost.h"

namespace mtd {

class Program;

// The Settings, Colours and About commands. Settings edits init.txt in the program's
// configuration directory: the dialog opens with the values a Run would load now, and OK
// writes the file (the old one kept as init.txt.bak) and shows the empty grid for it.
class DialogCommands {
 public:
  explicit DialogCommands(Program& program) : program_(program) {}

  // The platform's windows; without them the commands do nothing.
  void setHost(DialogHost* host) { host_ = host; }

  // Whether the command is one of these; the caller then hands it to onCommand.
  static bool handles(int commandId);
  void onCommand(int commandId);

  // The form of the configuration a Run would load now (the defaults where init.txt is
  // missing or refused).
  SettingsForm currentSettings() const;
  // What the dialog's OK does: validates, writes init.txt, and, when no run is in progress,
  // loads it and draws its empty grid.
  std::optional<SettingsRefusal> acceptSettings(const SettingsForm& form);

  // The About text: the program, its version and its licence.
  static std::string aboutText();

 private:
  Program& program_;
  DialogHost* host_ = nullptr;
};

}  // namespace mtd
