#pragma once

#include <FL/Fl_Window.H>

#include <functional>
#include <optional>

#include "platform/fltk/CommandMenu.h"
#include "platform/fltk/Maximise.h"

namespace mtd {

// The part of the main window below the menu bar: the client area that the display draws on.
// An X child window of its own, so that its origin is the drawing origin and it clips.
class ClientArea : public Fl_Window {
 public:
  ClientArea(int x, int y, int width, int height, std::function<void()> paint);
  void draw() override;

 private:
  std::function<void()> paint_;
};

// What the main window reports to the window system.
struct FrameEvents {
  std::function<void(int)> command;  // a menu command picked with the mouse or its mnemonic
  std::function<void()> close;       // the close box or the window manager's close request
  std::function<void()> paint;       // the client area needs repainting
};

// The main window: the menu bar above the client area. Escape does not close it; a close
// request goes to the program instead of hiding the window.
class MainFrame : public Fl_Window {
 public:
  static constexpr int MENU_BAR_HEIGHT = 25;

  MainFrame(int width, int height, const char* caption, FrameEvents events);

  CommandMenuBar& menuBar() { return menuBar_; }
  // From now on a move of the window by the window manager is undone: the window stays where
  // its client window's corner is at the point, as a maximised window stays in place.
  void holdPosition(ScreenPoint point) { heldAt_ = point; }
  void resize(int x, int y, int width, int height) override;
  ClientArea& clientArea() { return clientArea_; }

 private:
  static void closeRequested(Fl_Widget* window, void* frame);

  FrameEvents events_;
  std::optional<ScreenPoint> heldAt_;
  int movesUndone_ = 0;
  CommandMenuBar menuBar_;
  ClientArea clientArea_;
};

}  // namespace mtd
