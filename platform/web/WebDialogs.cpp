#include "platform/web/WebDialogs.h"

#include <cstdint>
#include <string>

#include "core/CodePresets.h"
#include "platform/web/CanvasSurface.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebWindowSystem.h"
#include "ui/ColourLegend.h"
#include "ui/Palette.h"

namespace mtd {

namespace {

SettingsField fieldAt(int index) { return static_cast<SettingsField>(index); }

// A preset's code as the form's fields from the number of checks onwards, one a line.
std::string presetCodeFields(const CodePreset& preset) {
  SettingsForm form;
  applyCodePreset(form, preset);
  std::string text;
  for (int i = static_cast<int>(SettingsField::Ndn); i < SETTINGS_FIELD_COUNT; ++i) {
    if (!text.empty()) text += '\n';
    text += settingsFieldText(form, fieldAt(i));
  }
  return text;
}

SettingsForm formOnPage() {
  SettingsForm form;
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    settingsFieldText(form, fieldAt(i)) = page::settingsFieldText(i);
  }
  return form;
}

}  // namespace

void WebDialogs::publishLegend() {
  for (const LegendGroup& group : colourLegendGroups()) {
    page::defineLegendGroup(std::string(group.title).c_str());
    for (const LegendEntry& entry : group.entries) {
      const Rgb colour = paletteColour(entry.brush);
      const std::uint32_t rgb =
          (std::uint32_t{colour.r} << 16) | (std::uint32_t{colour.g} << 8) | colour.b;
      page::defineLegendEntry(rgb, std::string(entry.meaning).c_str());
    }
  }
}

void WebDialogs::showColourLegend() {
  // Drawn anew each time: the page keeps the pixels, and the drawing objects live only as long
  // as the drawing.
  const ScreenSize size = colourLegendSize();
  const int surfaceId = page::legendCanvas(size.width, size.height);
  CanvasSurface surface(windowSystem_.drawingObjects(), surfaceId, false);
  {
    const ColourLegend legend(windowSystem_);
    legend.draw(surface);
  }
  page::showLegend();
}

void WebDialogs::showMessage(std::string_view title, std::string_view text) {
  page::showMessage(std::string(title).c_str(), std::string(text).c_str());
}

void WebDialogs::editSettings(const SettingsForm& form, const SettingsAcceptor& accept) {
  // The fields first: a preset's code fills the last of them.
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    const std::string label(settingsFieldLabel(fieldAt(i)));
    page::setSettingsField(i, label.c_str(), settingsFieldText(form, fieldAt(i)).c_str());
  }
  if (!presetsPublished_) {
    for (std::size_t i = 0; i < CODE_PRESETS.size(); ++i) {
      const std::string name(CODE_PRESETS[i].name);
      page::defineSettingsPreset(static_cast<int>(i), name.c_str(),
                                 presetCodeFields(CODE_PRESETS[i]).c_str());
    }
    presetsPublished_ = true;
  }
  page::selectSettingsPreset(codePresetOf(form));
  while (page::awaitSettings()) {
    const auto refusal = accept(formOnPage());
    if (!refusal) {
      page::closeSettings(true);
      return;
    }
    page::refuseSettings(refusal->field ? static_cast<int>(*refusal->field) : -1,
                         refusal->message.c_str());
  }
  page::closeSettings(false);
}

}  // namespace mtd
