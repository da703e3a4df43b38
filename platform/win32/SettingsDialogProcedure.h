#pragma once

#include "control/DialogHost.h"
#include "platform/win32/Win32Api.h"

namespace mtd {

// What the settings dialog's procedure is handed through DialogBoxParamA.
struct SettingsDialogData {
  SettingsForm form;
  const SettingsAcceptor* accept = nullptr;
};

// The procedure of the MYSETTINGS dialog: fills the fields, applies a picked code preset, and
// on OK hands the fields to the acceptor, showing its refusal in a message box titled with
// the field at fault and selecting that field.
INT_PTR CALLBACK settingsDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mtd
