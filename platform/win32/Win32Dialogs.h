#pragma once

#include <memory>

#include "control/DialogHost.h"
#include "platform/win32/Win32Api.h"
#include "ui/ColourLegend.h"

namespace mtd {

class Win32WindowSystem;

// The Colours, About and Settings windows on Win32: the legend in a window of its own class
// owned by the main window, About in a message box, Settings in the dialog of the resources.
class Win32Dialogs final : public DialogHost {
 public:
  Win32Dialogs(HINSTANCE instance, Win32WindowSystem& windowSystem);
  ~Win32Dialogs() override;
  Win32Dialogs(const Win32Dialogs&) = delete;
  Win32Dialogs& operator=(const Win32Dialogs&) = delete;

  void showColourLegend() override;
  void showMessage(std::string_view title, std::string_view text) override;
  void editSettings(const SettingsForm& form, const SettingsAcceptor& accept) override;

 private:
  static LRESULT CALLBACK legendProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void paintLegend(HWND window);

  HINSTANCE instance_;
  Win32WindowSystem& windowSystem_;
  std::unique_ptr<ColourLegend> legend_;
  HWND legendWindow_ = nullptr;
};

}  // namespace mtd
