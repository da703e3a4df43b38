#include "platform/fltk/FltkDialogs.h"

#include <FL/fl_ask.H>

#include <string>

#include "platform/fltk/FltkWindowSystem.h"
#include "platform/fltk/SettingsDialog.h"

namespace mtd {

FltkDialogs::~FltkDialogs() = default;

void FltkDialogs::showColourLegend() {
  if (!legend_) {
    legend_ = std::make_unique<LegendWindow>(windowSystem_, windowSystem_.drawingObjects());
  }
  legend_->show();  // also raises it when it is open already
}

void FltkDialogs::showMessage(std::string_view title, std::string_view text) {
  const std::string titleText(title);
  const std::string body(text);
  fl_message_title(titleText.c_str());
  fl_message("%s", body.c_str());
}

void FltkDialogs::editSettings(const SettingsForm& form, const SettingsAcceptor& accept) {
  SettingsDialog dialog(form, accept);
  dialog.run();
}

}  // namespace mtd
