#include "platform/fltk/SettingsDialog.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>

#include <string>

namespace mtd {

namespace {

constexpr int LABEL_WIDTH = 190;
constexpr int INPUT_WIDTH = 560;
constexpr int ROW_HEIGHT = 30;
constexpr int MARGIN = 12;
constexpr int BUTTON_WIDTH = 90;
constexpr int WIDTH = MARGIN + LABEL_WIDTH + INPUT_WIDTH + MARGIN;

// The fields top to bottom; the code preset's choice comes before the code's fields.
constexpr std::array<SettingsField, SETTINGS_FIELD_COUNT> FIELD_ORDER = {
    SettingsField::P,        SettingsField::Kst,        SettingsField::Nbl,
    SettingsField::MaxBlock, SettingsField::Ndn,        SettingsField::Ddn,
    SettingsField::Taps,     SettingsField::Iterations, SettingsField::Thresholds};
constexpr int PRESET_ROW = 4;
constexpr int ROWS = SETTINGS_FIELD_COUNT + 1;
constexpr int HEIGHT = MARGIN + ROWS * ROW_HEIGHT + MARGIN + ROW_HEIGHT + MARGIN;

int rowTop(int row) { return MARGIN + row * ROW_HEIGHT; }

}  // namespace

SettingsDialog::SettingsDialog(const SettingsForm& form, const SettingsAcceptor& accept)
    : accept_(accept), window_(WIDTH, HEIGHT, "Settings") {
  const int x = MARGIN + LABEL_WIDTH;
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    const SettingsField field = FIELD_ORDER[i];
    const int row = i < PRESET_ROW ? i : i + 1;
    inputs_[static_cast<int>(field)] = std::make_unique<Fl_Input>(
        x, rowTop(row), INPUT_WIDTH, ROW_HEIGHT - 4, settingsFieldLabel(field).data());
  }
  presets_ = std::make_unique<Fl_Choice>(x, rowTop(PRESET_ROW), INPUT_WIDTH, ROW_HEIGHT - 4,
                                         "Code preset");
  for (const CodePreset& preset : CODE_PRESETS) {
    // A slash would start a submenu in an FLTK menu text.
    presets_->add(std::string(preset.name).c_str(), 0, nullptr, nullptr, 0);
  }
  presets_->add("Other (as typed)", 0, nullptr, nullptr, 0);
  presets_->callback(presetPicked, this);
  const int buttonsTop = rowTop(ROWS) + MARGIN;
  ok_ = std::make_unique<Fl_Return_Button>(WIDTH - MARGIN - 2 * BUTTON_WIDTH - MARGIN, buttonsTop,
                                           BUTTON_WIDTH, ROW_HEIGHT - 4, "OK");
  ok_->callback(okPressed, this);
  cancel_ = std::make_unique<Fl_Button>(WIDTH - MARGIN - BUTTON_WIDTH, buttonsTop, BUTTON_WIDTH,
                                        ROW_HEIGHT - 4, "Cancel");
  cancel_->callback(cancelPressed, this);
  window_.end();
  window_.callback(cancelPressed, this);
  window_.set_modal();
  window_.xclass("kolvane");
  fill(form);
}

void SettingsDialog::run() {
  window_.show();
  Fl_Input& first = input(SettingsField::P);
  first.take_focus();
  first.position(first.size(), 0);  // all of it selected: typing replaces the value
  while (window_.shown()) Fl::wait();
}

void SettingsDialog::fill(const SettingsForm& form) {
  for (SettingsField field : FIELD_ORDER)
    input(field).value(settingsFieldText(form, field).c_str());
  const int preset = codePresetOf(form);
  presets_->value(preset >= 0 ? preset : static_cast<int>(CODE_PRESETS.size()));
}

SettingsForm SettingsDialog::form() {
  SettingsForm form;
  for (SettingsField field : FIELD_ORDER) settingsFieldText(form, field) = input(field).value();
  return form;
}

void SettingsDialog::refuse(const SettingsRefusal& refusal) {
  const std::string title = refusal.field
                                ? "Settings: " + std::string(settingsFieldLabel(*refusal.field))
                                : std::string("Settings: init.txt");
  fl_message_title(title.c_str());
  fl_alert("%s", refusal.message.c_str());
  if (!refusal.field) return;
  Fl_Input& wrong = input(*refusal.field);
  wrong.take_focus();
  wrong.position(wrong.size(), 0);
}

void SettingsDialog::okPressed(Fl_Widget*, void* data) {
  auto* self = static_cast<SettingsDialog*>(data);
  if (auto refusal = self->accept_(self->form())) {
    self->refuse(*refusal);
    return;
  }
  self->window_.hide();
}

void SettingsDialog::cancelPressed(Fl_Widget*, void* data) {
  auto* self = static_cast<SettingsDialog*>(data);
  // Escape and the close box come here too.
  self->window_.hide();
}

void SettingsDialog::presetPicked(Fl_Widget*, void* data) {
  auto* self = static_cast<SettingsDialog*>(data);
  const int picked = self->presets_->value();
  if (picked < 0 || picked >= static_cast<int>(CODE_PRESETS.size())) return;
  SettingsForm form = self->form();
  applyCodePreset(form, CODE_PRESETS[static_cast<std::size_t>(picked)]);
  self->fill(form);
}

}  // namespace mtd
