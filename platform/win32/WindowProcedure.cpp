#include "platform/win32/WindowProcedure.h"

#include "platform/win32/GdiSurface.h"
#include "platform/win32/Win32WindowSystem.h"

namespace mtd {

namespace {

Win32WindowSystem* windowSystemOf(HWND window) {
  return reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void paint(HWND window, Win32WindowSystem& windowSystem, MainWindow& handlers) {
  PAINTSTRUCT paintStruct;
  HDC dc = BeginPaint(window, &paintStruct);
  GdiSurface surface(dc, windowSystem.objects());
  handlers.onPaint(surface);
  EndPaint(window, &paintStruct);
}

}  // namespace

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The first message that carries the creation parameter: from here on the window's
    // messages find their handlers, and WM_CREATE can already draw.
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* windowSystem = static_cast<Win32WindowSystem*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(windowSystem));
    if (windowSystem != nullptr) windowSystem->attachWindow(window);
  }
  Win32WindowSystem* windowSystem = windowSystemOf(window);
  MainWindow* handlers = windowSystem != nullptr ? windowSystem->handlers() : nullptr;
  if (handlers == nullptr) return DefWindowProcA(window, message, wParam, lParam);

  switch (message) {
    case WM_CREATE:
      handlers->onCreate();
      return 0;
    case WM_SIZE:
      handlers->onSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SHOWWINDOW:
      // Handled here and not passed on, whoever sent it.
      handlers->onShowWindow();
      return 0;
    case WM_PAINT:
      paint(window, *windowSystem, *handlers);
      return 0;
    case WM_TIMER:
      handlers->onTimer();
      return 0;
    case WM_COMMAND:
      handlers->onCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      // The close box and Alt+F4 end up here; the handlers decide, the window is never
      // destroyed behind their back.
      handlers->onClose();
      return 0;
    case WM_DESTROY:
      handlers->onDestroy();
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace mtd
