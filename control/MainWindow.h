#pragma once

#include "ui/DrawingSurface.h"

namespace mtd {

class Program;

// The window procedure's logic, free of any window system: a platform calls these from its own
// message dispatch. Every handler returns to the platform, except that Run contains a whole run
// and services messages inside it.
class MainWindow {
 public:
  explicit MainWindow(Program& program) : program_(program) {}

  void onCreate();
  void onSize(int clientWidth, int clientHeight);
  void onShowWindow();
  void onPaint(DrawingSurface& paintSurface);
  void onTimer();
  void onCommand(int commandId);
  void onClose();    // the window system's close request (close box, Alt+F4)
  void onDestroy();  // releases the drawing objects and posts the quit message

 private:
  void runCommand();
  void pauseCommand();
  void resetCommand();
  void quitCommand();
  void showEveryCommand();

  Program& program_;
  bool awaitingFirstSize_ = true;
  // Once the drawing objects are released, nothing may draw with them again.
  bool destroyed_ = false;
};

// "МНОГОПОРОГОВЫЙ ДЕКОДЕР" and the credit, in UTF-8; the Windows build stores it in
// Windows-1251.
inline constexpr const char* WINDOW_CAPTION_UTF8 =
    "\xD0\x9C\xD0\x9D\xD0\x9E\xD0\x93\xD0\x9E\xD0\x9F\xD0\x9E\xD0\xA0\xD0\x9E\xD0\x93\xD0\x9E"
    "\xD0\x92\xD0\xAB\xD0\x99 \xD0\x94\xD0\x95\xD0\x9A\xD0\x9E\xD0\x94\xD0\x95\xD0\xA0"
    " (mtd-demo)";

}  // namespace mtd
