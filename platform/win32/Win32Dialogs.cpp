#include "platform/win32/Win32Dialogs.h"

#include <string>

#include "platform/win32/GdiSurface.h"
#include "platform/win32/SettingsDialogProcedure.h"
#include "platform/win32/Win32WindowSystem.h"

namespace mtd {

namespace {

constexpr const char* LEGEND_CLASS = "mtdlegend";
constexpr const char* SETTINGS_DIALOG = "MYSETTINGS";
// WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU: a fixed size, a close box.
constexpr DWORD LEGEND_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

}  // namespace

Win32Dialogs::Win32Dialogs(HINSTANCE instance, Win32WindowSystem& windowSystem)
    : instance_(instance), windowSystem_(windowSystem) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = legendProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = LEGEND_CLASS;
  RegisterClassA(&windowClass);
}

Win32Dialogs::~Win32Dialogs() {
  if (legendWindow_ != nullptr) {
    SetWindowLongPtrA(legendWindow_, GWLP_USERDATA, 0);
    DestroyWindow(legendWindow_);
  }
  // The window and its paint surfaces are gone: the drawing objects may go now.
  legend_.reset();
}

void Win32Dialogs::showColourLegend() {
  if (legendWindow_ == nullptr) {
    legend_ = std::make_unique<ColourLegend>(windowSystem_);
    const ScreenSize size = colourLegendSize();
    RECT frame{0, 0, size.width, size.height};
    AdjustWindowRect(&frame, LEGEND_STYLE, FALSE);
    legendWindow_ =
        CreateWindowExA(0, LEGEND_CLASS, "Colours", LEGEND_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, windowSystem_.window(),
                        nullptr, instance_, nullptr);
    if (legendWindow_ == nullptr) return;
    SetWindowLongPtrA(legendWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ShowWindow(legendWindow_, SW_SHOWNORMAL);
  SetForegroundWindow(legendWindow_);
}

void Win32Dialogs::showMessage(std::string_view title, std::string_view text) {
  const std::string titleText(title);
  const std::string body(text);
  MessageBoxA(windowSystem_.window(), body.c_str(), titleText.c_str(), MB_OK | MB_ICONINFORMATION);
}

void Win32Dialogs::editSettings(const SettingsForm& form, const SettingsAcceptor& accept) {
  SettingsDialogData data{form, &accept};
  DialogBoxParamA(instance_, SETTINGS_DIALOG, windowSystem_.window(), settingsDialogProcedure,
                  reinterpret_cast<LPARAM>(&data));
}

void Win32Dialogs::paintLegend(HWND window) {
  PAINTSTRUCT paintStruct;
  HDC dc = BeginPaint(window, &paintStruct);
  if (legend_) {
    GdiSurface surface(dc, windowSystem_.objects());
    legend_->draw(surface);
  }
  EndPaint(window, &paintStruct);
}

LRESULT CALLBACK Win32Dialogs::legendProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  auto* self = reinterpret_cast<Win32Dialogs*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_PAINT:
        self->paintLegend(window);
        return 0;
      case WM_CLOSE:
        // Hidden, not destroyed: Colours shows it again as it was.
        ShowWindow(window, SW_HIDE);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace mtd
