#include "platform/fltk/FltkWindowSystem.h"

#include <FL/Fl.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/x.H>
#include <sys/select.h>

#include <algorithm>
#include <string>
#include <thread>

#include "platform/fltk/Accelerators.h"
#include "platform/fltk/Maximise.h"

namespace mtd {

namespace {

#include "resources/myicon16.xpm"
#include "resources/myicon32.xpm"

constexpr const char* WINDOW_CLASS_NAME = "kolvane";
// The window's size before it is maximised: the Win32 default for a new window is much the same.
constexpr int INITIAL_WIDTH = 800;
constexpr int INITIAL_HEIGHT = 600;
// How long a window manager may take to maximise the window before its size is taken as it is.
constexpr auto MAXIMISE_PATIENCE = std::chrono::seconds(2);

// FLTK's event dispatch hook takes no user data; one window system exists per program.
FltkWindowSystem* dispatchTarget = nullptr;

}  // namespace

FltkWindowSystem::FltkWindowSystem()
    : frame_(INITIAL_WIDTH, INITIAL_HEIGHT, WINDOW_CAPTION_UTF8,
             FrameEvents{[this](int id) { command(id); },
                         [this] {
                           ++dispatched_;
                           if (handlers_) handlers_->onClose();
                         },
                         [this] { paint(); }}),
      windowSurface_(objects_, frame_.clientArea()),
      paintSurface_(objects_, frame_.clientArea()) {
  fl_open_display();
  dispatchTarget = this;
  Fl::event_dispatch(dispatchEvent);
  // The window class's name and icon; FLTK copies the images.
  frame_.xclass(WINDOW_CLASS_NAME);
  const Fl_Pixmap bigIcon(myicon32_xpm);
  const Fl_Pixmap smallIcon(myicon16_xpm);
  const Fl_RGB_Image bigImage(&bigIcon);
  const Fl_RGB_Image smallImage(&smallIcon);
  const Fl_RGB_Image* icons[] = {&bigImage, &smallImage};
  frame_.icons(icons, 2);
}

FltkWindowSystem::~FltkWindowSystem() {
  Fl::remove_timeout(timerFired, this);
  Fl::event_dispatch(nullptr);
  dispatchTarget = nullptr;
}

int FltkWindowSystem::run(MainWindow& handlers) {
  handlers_ = &handlers;
  showMaximised();
  while (!quitPosted_) {
    if (!pumpOnce()) waitMessage();
  }
  frame_.hide();
  Fl::flush();
  return exitCode_;
}

void FltkWindowSystem::showMaximised() {
  frame_.show();
  // The window's creation: the display makes its back buffer and drawing objects.
  handlers_->onCreate();
  // The window system's own show notification, which comes before the first size.
  handlers_->onShowWindow();
  if (windowManagerRunning()) {
    requestMaximised(frame_);
  } else {
    fillWorkArea(frame_);
  }
  recordFirstSize();
}

void FltkWindowSystem::recordFirstSize() {
  // FLTK reports the window's earlier sizes before the maximised one; the layout is made from
  // the size the maximised window really gets, recorded once.
  if (windowManagerRunning()) {
    const Clock::time_point giveUp = Clock::now() + MAXIMISE_PATIENCE;
    while (!quitPosted_ && Clock::now() < giveUp && !maximisedSizeArrived()) {
      if (!pumpOnce()) Fl::wait(0.02);
    }
  }
  if (quitPosted_) return;
  if (windowManagerRunning()) holdMaximisedSize();
  if (quitPosted_) return;
  handlers_->onSize(frame_.clientArea().w(), frame_.clientArea().h());
}

bool FltkWindowSystem::maximisedSizeArrived() {
  if (!reportedMaximised(frame_)) return false;
  // The window manager changes the state and the size separately: wait for a new size that
  // FLTK has taken in as well.
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(fl_display, fl_xid(&frame_), &attributes)) return false;
  const bool resized = attributes.width != INITIAL_WIDTH || attributes.height != INITIAL_HEIGHT;
  return resized && frame_.w() == attributes.width && frame_.h() == attributes.height;
}

// The picture is laid out once, for the maximised size; a restore through the window manager
// would cut it. Like the Windows program's window, which has no maximise box, the window then
// offers no restore: its size is fixed and the window manager is asked for no maximise or
// resize functions. A window manager that drops the maximised state for that keeps the size
// but may move the window: it is moved back to where the maximised window stood.
void FltkWindowSystem::holdMaximisedSize() {
  if (!reportedMaximised(frame_)) return;
  // A maximised window ends at the work area's bottom right corner; its client window's
  // corner is read from there, as the window manager may not have moved it yet.
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  Fl::screen_work_area(x, y, width, height, 0);
  frame_.holdPosition({x + width - frame_.w(), y + height - frame_.h()});
  frame_.size_range(frame_.w(), frame_.h(), frame_.w(), frame_.h());
  offerNoRestore(frame_);
  const Clock::time_point giveUp = Clock::now() + MAXIMISE_PATIENCE;
  while (!quitPosted_ && Clock::now() < giveUp && reportedMaximised(frame_)) {
    if (!pumpOnce()) Fl::wait(0.02);
  }
}

bool FltkWindowSystem::pumpOnce() {
  // Redraws that FLTK has been asked for (the menu bar) and drawing still in the X buffer.
  Fl::flush();
  if (XPending(fl_display) > 0) {
    XEvent event;
    XNextEvent(fl_display, &event);
    if (!XFilterEvent(&event, 0)) fl_handle(event);
    return true;
  }
  // No event queued: the timer, if due, like WM_TIMER which comes only when the queue is empty.
  const long before = dispatched_;
  Fl::wait(0);
  return dispatched_ != before;
}

void FltkWindowSystem::waitMessage() {
  Fl::flush();
  if (XPending(fl_display) > 0) return;
  const int connection = ConnectionNumber(fl_display);
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(connection, &readable);
  timeval timeout{};
  timeval* limit = nullptr;
  if (timerExists_) {
    const auto remaining = std::max(Clock::duration::zero(), timerDue_ - Clock::now());
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(remaining).count();
    timeout.tv_sec = static_cast<time_t>(micros / 1000000);
    timeout.tv_usec = static_cast<suseconds_t>(micros % 1000000);
    limit = &timeout;
  }
  select(connection + 1, &readable, nullptr, nullptr, limit);
}

void FltkWindowSystem::setTimer(int milliseconds) {
  // SetTimer on an existing id restarts it with the new period.
  Fl::remove_timeout(timerFired, this);
  timerExists_ = true;
  timerSeconds_ = std::max(0, milliseconds) / 1000.0;
  timerDue_ = Clock::now() + std::chrono::milliseconds(std::max(0, milliseconds));
  Fl::add_timeout(timerSeconds_, timerFired, this);
}

bool FltkWindowSystem::killTimer() {
  // Like a Win32 timer, it keeps existing after it fires, until it is killed.
  const bool existed = timerExists_;
  Fl::remove_timeout(timerFired, this);
  timerExists_ = false;
  return existed;
}

void FltkWindowSystem::timerFired(void* data) {
  auto* self = static_cast<FltkWindowSystem*>(data);
  if (!self->timerExists_) return;
  self->timerDue_ += std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(self->timerSeconds_));
  Fl::repeat_timeout(self->timerSeconds_, timerFired, data);
  ++self->dispatched_;
  if (self->handlers_) self->handlers_->onTimer();
}

void FltkWindowSystem::setMenuItemEnabled(int commandId, bool enabled) {
  frame_.menuBar().setEnabled(commandId, enabled);
}

void FltkWindowSystem::setMenuItemChecked(int commandId, bool checked) {
  frame_.menuBar().setChecked(commandId, checked);
}

void FltkWindowSystem::setCaptionSuffix(const char* utf8Text) {
  std::string caption = WINDOW_CAPTION_UTF8;
  if (utf8Text != nullptr && *utf8Text != '\0') caption.append(" ").append(utf8Text);
  frame_.copy_label(caption.c_str());
}

void FltkWindowSystem::sleepMicroseconds(std::int64_t microseconds) {
  // No flush of its own: every drawing on the window is flushed as its surface is released,
  // and each request to the X server costs more than the drawing itself.
  if (microseconds > 0) std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

void FltkWindowSystem::drawMenuBar() { frame_.menuBar().redraw(); }

void FltkWindowSystem::postQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
}

int FltkWindowSystem::dispatchEvent(int event, Fl_Window* window) {
  FltkWindowSystem* self = dispatchTarget;
  // The accelerator table translates keys outside the open menu, before any widget sees them.
  if (self && event == FL_KEYBOARD && !Fl::grab() && !Fl::modal()) {
    const int id = acceleratorCommand();
    if (id != 0) {
      // A grayed item's accelerator is swallowed without a command.
      if (self->frame_.menuBar().enabled(id)) self->command(id);
      return 1;
    }
  }
  return Fl::handle_(event, window);
}

void FltkWindowSystem::command(int commandId) {
  ++dispatched_;
  if (handlers_ && !quitPosted_) handlers_->onCommand(commandId);
}

void FltkWindowSystem::paint() {
  // After the destroy handling the drawing objects are gone; nothing is painted any more.
  if (!handlers_ || quitPosted_ || !backBuffer_) return;
  paintSurface_.resetState();
  handlers_->onPaint(paintSurface_);
}

ScreenSize FltkWindowSystem::screenSize() {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  Fl::screen_xywh(x, y, width, height, 0);
  return ScreenSize{width, height};
}

DrawingSurface& FltkWindowSystem::createBackBuffer(int width, int height) {
  backBuffer_ =
      std::make_unique<OffscreenSurface>(objects_, std::max(1, width), std::max(1, height));
  return *backBuffer_;
}

void FltkWindowSystem::deleteBackBuffer() { backBuffer_.reset(); }

GdiObject FltkWindowSystem::createSolidBrush(Rgb colour) {
  return objects_.add(DrawingObject{DrawingObject::Kind::Brush, colour});
}

GdiObject FltkWindowSystem::createPen(Rgb colour) {
  return objects_.add(DrawingObject{DrawingObject::Kind::Pen, colour});
}

GdiObject FltkWindowSystem::createFont(const FontSpec& font) {
  const Fl_Font face = fltkFace(font);
  return objects_.add(
      DrawingObject{DrawingObject::Kind::Font, Rgb{}, face, sizeForCellHeight(face, font.height)});
}

void FltkWindowSystem::deleteObject(GdiObject object) { objects_.remove(object); }

DrawingSurface& FltkWindowSystem::getWindowSurface() {
  windowSurface_.resetState();
  return windowSurface_;
}

void FltkWindowSystem::releaseWindowSurface(DrawingSurface&) {
  // Direct drawing shows only once the X request buffer has been sent.
  XFlush(fl_display);
}

}  // namespace mtd
