#pragma once

#include "control/DialogHost.h"

namespace mtd {

class WebWindowSystem;

// The Colours, About and Settings windows as HTML dialogs of the page. The legend is drawn by
// ui/ColourLegend on a canvas of its own; About and Settings are modal, and while one is open
// the program waits in it (suspended) as a native modal dialog holds its caller.
class WebDialogs : public DialogHost {
 public:
  explicit WebDialogs(WebWindowSystem& windowSystem) : windowSystem_(windowSystem) {}

  // Fills the side panel's short legend from the same groups and palette as the window.
  static void publishLegend();

  void showColourLegend() override;
  void showMessage(std::string_view title, std::string_view text) override;
  void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) override;

 private:
  WebWindowSystem& windowSystem_;
  bool presetsPublished_ = false;
};

}  // namespace mtd
