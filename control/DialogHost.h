#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/SettingsForm.h"

namespace mtd {

// Why the settings dialog's OK did not close it: the field to correct, when one is at fault
// (a file that cannot be written names none), and the message to show.
struct SettingsRefusal {
  std::optional<SettingsField> field;
  std::string message;
};

// Accepts the form (validates it, writes it) or says why not.
using SettingsAcceptor = std::function<std::optional<SettingsRefusal>(const SettingsForm&)>;

// The windows besides the main one, as a window system shows them. The commands' logic is in
// DialogCommands; a platform only shows what it is given and reports what the user did.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // Opens the colour legend's window, drawn by ui/ColourLegend, or raises it when it is open.
  // It does not hold the run: the legend stays open beside the animation.
  virtual void showColourLegend() = 0;
  // A modal message with an OK button.
  virtual void showMessage(std::string_view title, std::string_view text) = 0;
  // The modal settings dialog, filled from the form. OK hands the fields to accept: a refusal
  // is shown and the dialog stays open with its field selected; acceptance closes it. Cancel
  // closes it and changes nothing. Returns when the dialog is closed.
  virtual void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) = 0;
};

}  // namespace mtd
