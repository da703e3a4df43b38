#include "platform/fltk/Maximise.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace mtd {

namespace {

constexpr long NET_WM_STATE_ADD = 1;

Atom atom(const char* name) { return XInternAtom(fl_display, name, False); }

// The first window id stored in a WINDOW property, or 0.
Window windowProperty(Window owner, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  Window result = 0;
  if (XGetWindowProperty(fl_display, owner, property, 0, 1, False, XA_WINDOW, &type, &format,
                         &count, &remaining, &data) == Success &&
      data) {
    if (type == XA_WINDOW && format == 32 && count == 1) {
      result = *reinterpret_cast<Window*>(data);
    }
    XFree(data);
  }
  return result;
}

}  // namespace

bool windowManagerRunning() {
  fl_open_display();
  const Atom check = atom("_NET_SUPPORTING_WM_CHECK");
  const Window root = RootWindow(fl_display, fl_screen);
  const Window child = windowProperty(root, check);
  // A stale property left by a window manager that has gone does not name itself back.
  return child != 0 && windowProperty(child, check) == child;
}

void requestMaximised(Fl_Window& window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = fl_xid(&window);
  event.xclient.message_type = atom("_NET_WM_STATE");
  event.xclient.format = 32;
  event.xclient.data.l[0] = NET_WM_STATE_ADD;
  event.xclient.data.l[1] = static_cast<long>(atom("_NET_WM_STATE_MAXIMIZED_VERT"));
  event.xclient.data.l[2] = static_cast<long>(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
  event.xclient.data.l[3] = 1;  // a normal application
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(fl_display);
}

bool reportedMaximised(Fl_Window& window) {
  const Atom vertical = atom("_NET_WM_STATE_MAXIMIZED_VERT");
  const Atom horizontal = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  bool foundVertical = false;
  bool foundHorizontal = false;
  if (XGetWindowProperty(fl_display, fl_xid(&window), atom("_NET_WM_STATE"), 0, 64, False, XA_ATOM,
                         &type, &format, &count, &remaining, &data) == Success &&
      data) {
    const auto* states = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      foundVertical = foundVertical || states[i] == vertical;
      foundHorizontal = foundHorizontal || states[i] == horizontal;
    }
    XFree(data);
  }
  return foundVertical && foundHorizontal;
}

void offerNoRestore(Fl_Window& window) {
  // The fixed size goes first: a window manager that drops the maximised state on the next
  // hints must find the size it is to keep.
  XSizeHints* sizes = XAllocSizeHints();
  if (sizes) {
    long supplied = 0;
    XGetWMNormalHints(fl_display, fl_xid(&window), sizes, &supplied);
    sizes->flags |= PMinSize | PMaxSize;
    sizes->min_width = sizes->max_width = window.w();
    sizes->min_height = sizes->max_height = window.h();
    XSetWMNormalHints(fl_display, fl_xid(&window), sizes);
    XFree(sizes);
  }
  // The Motif hints that window managers read for the functions they offer; with the flag for
  // functions set, the functions listed are the ones allowed.
  constexpr long HINTS_FUNCTIONS = 1L << 0;
  constexpr long FUNCTION_MOVE = 1L << 2;
  constexpr long FUNCTION_MINIMIZE = 1L << 3;
  constexpr long FUNCTION_CLOSE = 1L << 5;
  const long hints[5] = {HINTS_FUNCTIONS, FUNCTION_MOVE | FUNCTION_MINIMIZE | FUNCTION_CLOSE, 0, 0,
                         0};
  const Atom property = atom("_MOTIF_WM_HINTS");
  XChangeProperty(fl_display, fl_xid(&window), property, property, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(fl_display);
}

void moveClientTo(Fl_Window& window, ScreenPoint point) {
  // FLTK gives its windows static gravity: the position asked for is the client window's own.
  XMoveWindow(fl_display, fl_xid(&window), point.x, point.y);
  XFlush(fl_display);
}

void fillWorkArea(Fl_Window& window) {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  Fl::screen_work_area(x, y, width, height, 0);
  window.resize(x, y, width, height);
  // FLTK moves the X window only when its own idea of the position changes, and that idea can
  // differ from where the window was mapped.
  XMoveWindow(fl_display, fl_xid(&window), x, y);
  XFlush(fl_display);
}

}  // namespace mtd
