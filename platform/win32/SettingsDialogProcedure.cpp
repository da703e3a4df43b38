#include "platform/win32/SettingsDialogProcedure.h"

#include <string>

#include "SettingsDialogIds.h"

namespace mtd {

namespace {

constexpr int PRESET_OTHER = static_cast<int>(CODE_PRESETS.size());

int editId(SettingsField field) { return IDC_SETTINGS_FIRST + static_cast<int>(field); }

SettingsField fieldAt(int index) { return static_cast<SettingsField>(index); }

void fillFields(HWND dialog, const SettingsForm& form) {
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    SetDlgItemTextA(dialog, editId(fieldAt(i)), settingsFieldText(form, fieldAt(i)).c_str());
  }
  const int preset = codePresetOf(form);
  SendDlgItemMessageA(dialog, IDC_PRESET, CB_SETCURSEL, preset >= 0 ? preset : PRESET_OTHER, 0);
}

SettingsForm readFields(HWND dialog) {
  SettingsForm form;
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    HWND edit = GetDlgItem(dialog, editId(fieldAt(i)));
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    const int length = GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    settingsFieldText(form, fieldAt(i)) = text;
  }
  return form;
}

void selectField(HWND dialog, SettingsField field) {
  HWND edit = GetDlgItem(dialog, editId(field));
  SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void initialise(HWND dialog, SettingsDialogData& data) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    const std::string label(settingsFieldLabel(fieldAt(i)));
    SetDlgItemTextA(dialog, editId(fieldAt(i)) + IDC_LABEL_OFFSET, label.c_str());
  }
  for (const CodePreset& preset : CODE_PRESETS) {
    const std::string name(preset.name);
    SendDlgItemMessageA(dialog, IDC_PRESET, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendDlgItemMessageA(dialog, IDC_PRESET, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>("Other (as typed)"));
  fillFields(dialog, data.form);
  selectField(dialog, SettingsField::P);
}

void okPressed(HWND dialog, const SettingsDialogData& data) {
  const auto refusal = (*data.accept)(readFields(dialog));
  if (!refusal) {
    EndDialog(dialog, IDOK);
    return;
  }
  const std::string title = refusal->field
                                ? "Settings: " + std::string(settingsFieldLabel(*refusal->field))
                                : std::string("Settings: init.txt");
  MessageBoxA(dialog, refusal->message.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
  if (refusal->field) selectField(dialog, *refusal->field);
}

void presetPicked(HWND dialog) {
  const auto picked = SendDlgItemMessageA(dialog, IDC_PRESET, CB_GETCURSEL, 0, 0);
  if (picked < 0 || picked >= PRESET_OTHER) return;
  SettingsForm form = readFields(dialog);
  applyCodePreset(form, CODE_PRESETS[static_cast<std::size_t>(picked)]);
  fillFields(dialog, form);
}

}  // namespace

INT_PTR CALLBACK settingsDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<SettingsDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      initialise(dialog, *reinterpret_cast<SettingsDialogData*>(lParam));
      return FALSE;  // the focus is set already
    case WM_COMMAND:
      if (data == nullptr) return FALSE;
      switch (LOWORD(wParam)) {
        case IDOK:
          okPressed(dialog, *data);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDC_PRESET:
          if (HIWORD(wParam) == CBN_SELCHANGE) presetPicked(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace mtd
