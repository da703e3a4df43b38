// mtd-demo.exe: the multithreshold decoding demonstration as a Win32 program.
#include <string_view>

#include "control/Program.h"
#include "platform/win32/Cp1251.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/win32/WindowProcedure.h"

namespace {

constexpr const char* WINDOW_CLASS = "kolvane";
constexpr const char* MENU_AND_ACCELERATORS = "MYMENU";
constexpr const char* ICON = "MYICON";
// WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX: no maximise box, the window is
// always shown maximised.
constexpr DWORD WINDOW_STYLE = 0x00CE0000;
static_assert(WINDOW_STYLE == (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX));

// The ANSI window functions take the Russian caption in Windows-1251.
constexpr std::string_view CAPTION_UTF8 = mtd::WINDOW_CAPTION_UTF8;
constexpr auto CAPTION = mtd::toCp1251<CAPTION_UTF8.size() + 1>(CAPTION_UTF8);
static_assert(CAPTION.complete, "the caption must be all ASCII and Russian letters");

bool registerWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = 0;
  windowClass.lpfnWndProc = mtd::windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, ICON);
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  windowClass.lpszMenuName = MENU_AND_ACCELERATORS;
  windowClass.lpszClassName = WINDOW_CLASS;
  return RegisterClassA(&windowClass) != 0;
}

// The Windows-1251 bytes read as Russian only where that is the system's ANSI code page;
// elsewhere they would show as accented Latin letters. There the window gets the caption in
// UTF-16, handed straight to the default procedure so that no conversion back to the ANSI
// code page loses the Russian letters on the way.
void keepCaptionRussian(HWND window) {
  if (GetACP() == 1251) return;
  wchar_t caption[CAPTION_UTF8.size() + 1];
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, CAPTION_UTF8.data(), static_cast<int>(CAPTION_UTF8.size()),
                          caption, static_cast<int>(CAPTION_UTF8.size()));
  if (length <= 0) return;
  caption[length] = L'\0';
  DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!registerWindowClass(instance)) return 0;

  // The program (simulation, display, run control) reads init.txt from the working directory.
  mtd::Win32WindowSystem windowSystem;
  mtd::Program program(windowSystem);
  windowSystem.setHandlers(program.window());
  mtd::Win32Dialogs dialogs(instance, windowSystem);
  program.setDialogHost(dialogs);

  HWND window =
      CreateWindowExA(0, WINDOW_CLASS, CAPTION.c_str(), WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &windowSystem);
  keepCaptionRussian(window);
  windowSystem.setAccelerators(LoadAcceleratorsA(instance, MENU_AND_ACCELERATORS));
  // Maximised whatever show command the program was started with.
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  windowSystem.setMenu(GetMenu(window));

  const int exitCode = windowSystem.runMessageLoop();
  // The window outlives the loop (it is never destroyed) but not the objects its procedure
  // reaches through it.
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  return exitCode;
}
