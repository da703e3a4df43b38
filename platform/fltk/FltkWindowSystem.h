#pragma once

#include <chrono>
#include <memory>

#include "control/MainWindow.h"
#include "control/WindowSystem.h"
#include "platform/fltk/DrawingObjects.h"
#include "platform/fltk/MainFrame.h"
#include "platform/fltk/Surfaces.h"

namespace mtd {

// The window system on FLTK and X11: the main window with its menu, the message pump, the timer
// with id 1, and the drawing objects and surfaces of the display.
class FltkWindowSystem : public WindowSystem {
 public:
  FltkWindowSystem();
  ~FltkWindowSystem() override;
  FltkWindowSystem(const FltkWindowSystem&) = delete;
  FltkWindowSystem& operator=(const FltkWindowSystem&) = delete;

  // Shows the window maximised, dispatching to the handlers, and runs the main loop until the
  // quit message. Returns its exit code.
  int run(MainWindow& handlers);

  bool pumpOnce() override;
  void waitMessage() override;
  void setTimer(int milliseconds) override;
  bool killTimer() override;
  void setMenuItemEnabled(int commandId, bool enabled) override;
  void drawMenuBar() override;
  void postQuit(int exitCode) override;
  std::int64_t tickMilliseconds() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
  }
  std::int64_t monotonicMicroseconds() override {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
        .count();
  }
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

  // The drawing objects, for the surfaces of the program's other windows.
  const DrawingObjects& drawingObjects() const { return objects_; }

 private:
  using Clock = std::chrono::steady_clock;

  static int dispatchEvent(int event, Fl_Window* window);
  static void timerFired(void* self);

  void showMaximised();
  void recordFirstSize();
  bool maximisedSizeArrived();
  void holdMaximisedSize();
  void command(int commandId);
  void paint();

  MainWindow* handlers_ = nullptr;
  DrawingObjects objects_;
  MainFrame frame_;
  std::unique_ptr<OffscreenSurface> backBuffer_;
  WindowSurface windowSurface_;
  WindowSurface paintSurface_;
  bool timerExists_ = false;
  double timerSeconds_ = 0.0;
  Clock::time_point timerDue_{};
  long dispatched_ = 0;  // handlers called for events and timers: whether a pump took one
  bool quitPosted_ = false;
  int exitCode_ = 0;
};

}  // namespace mtd
