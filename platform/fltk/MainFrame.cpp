#include "platform/fltk/MainFrame.h"

#include <FL/Fl.H>

namespace mtd {

ClientArea::ClientArea(int x, int y, int width, int height, std::function<void()> paint)
    : Fl_Window(x, y, width, height), paint_(std::move(paint)) {
  box(FL_NO_BOX);
  end();
}

void ClientArea::draw() {
  if (paint_) paint_();
}

MainFrame::MainFrame(int width, int height, const char* caption, FrameEvents events)
    : Fl_Window(width, height, caption),
      events_(std::move(events)),
      menuBar_(0, 0, width, MENU_BAR_HEIGHT, events_.command),
      clientArea_(0, MENU_BAR_HEIGHT, width, height - MENU_BAR_HEIGHT, events_.paint) {
  end();
  resizable(&clientArea_);
  callback(closeRequested, this);
}

void MainFrame::resize(int x, int y, int width, int height) {
  Fl_Window::resize(x, y, width, height);
  // A window manager that refused the move back would answer every request with a move of
  // its own; a bound keeps the two from trading moves for ever.
  constexpr int MOVES_UNDONE_AT_MOST = 50;
  if (!heldAt_ || !shown() || movesUndone_ >= MOVES_UNDONE_AT_MOST) return;
  if (x == heldAt_->x && y == heldAt_->y) return;
  ++movesUndone_;
  moveClientTo(*this, *heldAt_);
}

void MainFrame::closeRequested(Fl_Widget*, void* frame) {
  // FLTK calls a window's callback for Escape too; only the window manager's close request
  // closes.
  if (Fl::event() != FL_CLOSE) return;
  auto* self = static_cast<MainFrame*>(frame);
  if (self->events_.close) self->events_.close();
}

}  // namespace mtd
