#pragma once

#include <optional>

#include "control/MainWindow.h"
#include "control/WindowSystem.h"
#include "platform/win32/GdiObjectTable.h"
#include "platform/win32/GdiSurface.h"
#include "platform/win32/Win32Api.h"

namespace mtd {

// The run control's window system on Win32: the main window's message queue, its timer id 1,
// its menu, and GDI for the display.
class Win32WindowSystem final : public WindowSystem {
 public:
  Win32WindowSystem() = default;
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

  // The window's handlers; the window procedure finds them here.
  void setHandlers(MainWindow& handlers) { handlers_ = &handlers; }
  MainWindow* handlers() const { return handlers_; }
  // Called with the window's first message, so that drawing works inside WM_CREATE.
  void attachWindow(HWND window) { window_ = window; }
  void setAccelerators(HACCEL accelerators) { accelerators_ = accelerators; }
  void setMenu(HMENU menu) { menu_ = menu; }
  // The main window, owner of the program's other windows.
  HWND window() const { return window_; }

  // The main message loop; returns the quit message's exit code.
  int runMessageLoop();

  bool pumpOnce() override;
  void waitMessage() override;
  void setTimer(int milliseconds) override;
  bool killTimer() override;
  void setMenuItemEnabled(int commandId, bool enabled) override;
  void drawMenuBar() override;
  void postQuit(int exitCode) override;
  std::int64_t tickMilliseconds() override { return static_cast<std::int64_t>(GetTickCount64()); }
  std::int64_t monotonicMicroseconds() override;
  void sleepMicroseconds(std::int64_t microseconds) override;
  void setMenuItemChecked(int commandId, bool checked) override;
  void setCaptionSuffix(const char* utf8Text) override;

  ScreenSize screenSize() override;
  DrawingSurface& createBackBuffer(int width, int height) override;
  void deleteBackBuffer() override;
  GdiObject createSolidBrush(Rgb colour) override;
  GdiObject createPen(Rgb colour) override;
  GdiObject createFont(const FontSpec& font) override;
  void deleteObject(GdiObject object) override;
  DrawingSurface& getWindowSurface() override;
  void releaseWindowSurface(DrawingSurface& surface) override;

  // The object table, for the surface BeginPaint hands out.
  const GdiObjectTable& objects() const { return objects_; }

 private:
  // Accelerator translation, else TranslateMessage and DispatchMessageA, of message_.
  void translateAndDispatch();
  HMENU menu();

  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HMENU menu_ = nullptr;
  MainWindow* handlers_ = nullptr;
  // The one message record of the main loop and of every pump nested in a run.
  MSG message_{};
  // A WM_QUIT taken by a pump nested in a handler still ends the main loop.
  std::optional<int> quitTaken_;

  GdiObjectTable objects_;
  std::optional<GdiSurface> backBuffer_;
  HBITMAP backBitmap_ = nullptr;
  HGDIOBJ bitmapBeforeBackBuffer_ = nullptr;
  std::optional<GdiSurface> windowSurface_;
  int windowSurfaceHolds_ = 0;
};

}  // namespace mtd
