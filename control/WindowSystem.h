#pragma once

#include <cstdint>

#include "ui/DrawingSurface.h"

namespace mtd {

// The window system as the run control sees it: one window with one menu and one timer (id 1).
// A platform implements it and calls the MainWindow handlers from its message dispatch.
class WindowSystem : public Graphics {
 public:
  // PeekMessage with removal; accelerator translation (a grayed item's key is not delivered);
  // dispatch to the window's handlers. Never blocks. Returns whether a message was taken.
  virtual bool pumpOnce() = 0;
  // Blocks until a message is queued (WaitMessage); services nothing.
  virtual void waitMessage() = 0;
  virtual void setTimer(int milliseconds) = 0;
  // KillTimer for id 1: whether a timer was running and has been stopped.
  virtual bool killTimer() = 0;
  virtual void setMenuItemEnabled(int commandId, bool enabled) = 0;
  virtual void drawMenuBar() = 0;
  // PostQuitMessage: the main loop ends with this exit code once the queue reaches it.
  virtual void postQuit(int exitCode) = 0;
  // Milliseconds from an arbitrary start, never going back (GetTickCount64).
  virtual std::int64_t tickMilliseconds() = 0;
  // Microseconds from an arbitrary start, never going back; the animation's pace is kept by it.
  virtual std::int64_t monotonicMicroseconds() = 0;
  // Sleeps without servicing messages (the delay step of the animation).
  virtual void sleepMicroseconds(std::int64_t microseconds) = 0;
  virtual void setMenuItemChecked(int commandId, bool checked) = 0;
  // Text after the window's title, e.g. "— paused"; empty for none. UTF-8.
  virtual void setCaptionSuffix(const char* utf8Text) = 0;
};

}  // namespace mtd
