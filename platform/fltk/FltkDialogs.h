#pragma once

#include <memory>

#include "control/DialogHost.h"
#include "platform/fltk/LegendWindow.h"

namespace mtd {

class FltkWindowSystem;

// The Colours, About and Settings windows on FLTK.
class FltkDialogs : public DialogHost {
 public:
  explicit FltkDialogs(FltkWindowSystem& windowSystem) : windowSystem_(windowSystem) {}
  ~FltkDialogs() override;

  void showColourLegend() override;
  void showMessage(std::string_view title, std::string_view text) override;
  void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) override;

 private:
  FltkWindowSystem& windowSystem_;
  std::unique_ptr<LegendWindow> legend_;
};

}  // namespace mtd
