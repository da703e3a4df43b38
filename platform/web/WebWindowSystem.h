#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "control/MainWindow.h"
#include "control/WindowSystem.h"
#include "platform/web/CanvasSurface.h"
#include "platform/web/DrawingObjects.h"

namespace mtd {

// The window system in a browser page: the canvas is the client area, the page's HTML menu
// and key listener queue the commands, and the run control's synchronous loops give the
// browser its turns through the program's suspension (ASYNCIFY): while the program waits or
// yields, the page renders and takes input.
class WebWindowSystem : public WindowSystem {
 public:
  WebWindowSystem();
  WebWindowSystem(const WebWindowSystem&) = delete;
  WebWindowSystem& operator=(const WebWindowSystem&) = delete;

  // Publishes the menu, creates the display for the canvas's size and runs the main loop until
  // the quit message. Returns its exit code.
  int run(MainWindow& handlers);

  // The brushes, pens and fonts made through this window system, for other windows' surfaces.
  const DrawingObjects& drawingObjects() const { return objects_; }

  bool pumpOnce() override;
  void waitMessage() override;
  void setTimer(int milliseconds) override;
  bool killTimer() override;
  void setMenuItemEnabled(int commandId, bool enabled) override;
  void drawMenuBar() override {}  // the page's menu shows each change as it is made
  void postQuit(int exitCode) override;
  std::int64_t tickMilliseconds() override;

  // The time services of the pacing: a clock with microseconds, a sleep that lets the browser
  // run (and services no program message), a checked menu item and a caption suffix.
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
  void releaseWindowSurface(DrawingSurface&) override {}

 private:
  // Lets the browser render and take input when the program has held it for a frame's time.
  void yieldWhenDue();
  bool takeTimer();
  void command(int commandId);

  MainWindow* handlers_ = nullptr;
  DrawingObjects objects_;
  std::unique_ptr<CanvasSurface> backBuffer_;
  CanvasSurface windowSurface_;
  std::map<int, bool> enabled_;
  bool timerExists_ = false;
  double timerPeriod_ = 0.0;  // milliseconds
  double timerDue_ = 0.0;
  double lastYield_ = 0.0;
  bool quitPosted_ = false;
  int exitCode_ = 0;
};

}  // namespace mtd
