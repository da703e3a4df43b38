#include "platform/web/WebWindowSystem.h"

#include <emscripten.h>

#include <algorithm>
#include <string>

#include "platform/web/MenuExport.h"
#include "platform/web/PageBridge.h"

namespace mtd {

namespace {

// The program holds the browser for at most about one display frame between its turns.
constexpr double FRAME_MILLISECONDS = 16.0;
constexpr int WINDOW_SURFACE = 0;

}  // namespace

WebWindowSystem::WebWindowSystem()
    : windowSurface_(objects_, WINDOW_SURFACE, false), lastYield_(emscripten_get_now()) {}

int WebWindowSystem::run(MainWindow& handlers) {
  handlers_ = &handlers;
  for (const MenuPopupDefinition& popup : MENU_POPUPS) {
    for (const MenuItemDefinition& item : popup.items) {
      if (item.kind != MenuItemKind::Separator) enabled_[item.commandId] = item.initiallyEnabled;
    }
  }
  publishMenu();
  page::setCaption(WINDOW_CAPTION_UTF8);
  // The order of a shown window: creation, the show notification, then its one size.
  handlers.onCreate();
  handlers.onShowWindow();
  handlers.onSize(page::canvasWidth(), page::canvasHeight());
  while (!quitPosted_) {
    if (!pumpOnce()) waitMessage();
  }
  return exitCode_;
}

void WebWindowSystem::yieldWhenDue() {
  if (emscripten_get_now() - lastYield_ < FRAME_MILLISECONDS) return;
  page::yieldTurn();
  lastYield_ = emscripten_get_now();
}

bool WebWindowSystem::pumpOnce() {
  yieldWhenDue();
  const int id = page::takeMessage();
  if (id != 0) {
    // The accelerator table's rule: a grayed item's command is swallowed.
    const auto found = enabled_.find(id);
    if (found != enabled_.end() && found->second) command(id);
    return true;
  }
  // The timer only when nothing else is queued, like WM_TIMER.
  return takeTimer();
}

bool WebWindowSystem::takeTimer() {
  if (!timerExists_ || emscripten_get_now() < timerDue_) return false;
  timerDue_ = emscripten_get_now() + timerPeriod_;
  if (handlers_ && !quitPosted_) handlers_->onTimer();
  return true;
}

void WebWindowSystem::waitMessage() {
  if (page::messageQueued()) return;
  const double limit = timerExists_ ? std::max(0.0, timerDue_ - emscripten_get_now()) : -1.0;
  page::waitForMessage(limit);
  lastYield_ = emscripten_get_now();
}

void WebWindowSystem::setTimer(int milliseconds) {
  // SetTimer on an existing id restarts it with the new period.
  timerExists_ = true;
  timerPeriod_ = std::max(0, milliseconds);
  timerDue_ = emscripten_get_now() + timerPeriod_;
}

bool WebWindowSystem::killTimer() {
  // Like a Win32 timer, it keeps existing after it fires, until it is killed.
  const bool existed = timerExists_;
  timerExists_ = false;
  return existed;
}

void WebWindowSystem::setMenuItemEnabled(int commandId, bool enabled) {
  enabled_[commandId] = enabled;
  page::setItemEnabled(commandId, enabled);
}

void WebWindowSystem::postQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
}

std::int64_t WebWindowSystem::tickMilliseconds() {
  return static_cast<std::int64_t>(emscripten_get_now());
}

std::int64_t WebWindowSystem::monotonicMicroseconds() {
  return static_cast<std::int64_t>(emscripten_get_now() * 1000.0);
}

void WebWindowSystem::sleepMicroseconds(std::int64_t microseconds) {
  if (microseconds <= 0) return;
  const double until = emscripten_get_now() + static_cast<double>(microseconds) / 1000.0;
  // The browser's timers have whole milliseconds at best: sleep those, then wait out the
  // remainder on the clock so that the step lasts what was asked.
  const auto wholeMilliseconds = static_cast<unsigned>(microseconds / 1000);
  if (wholeMilliseconds > 0) {
    emscripten_sleep(wholeMilliseconds);
    lastYield_ = emscripten_get_now();
  }
  while (emscripten_get_now() < until) {
  }
}

void WebWindowSystem::setMenuItemChecked(int commandId, bool checked) {
  page::setItemChecked(commandId, checked);
}

void WebWindowSystem::setCaptionSuffix(const char* utf8Text) {
  // The suffix stands apart from the title ("... — paused"), as the native captions have it.
  std::string caption = WINDOW_CAPTION_UTF8;
  if (utf8Text != nullptr && *utf8Text != '\0') caption.append(" ").append(utf8Text);
  page::setCaption(caption.c_str());
}

void WebWindowSystem::command(int commandId) {
  if (handlers_ && !quitPosted_) handlers_->onCommand(commandId);
}

ScreenSize WebWindowSystem::screenSize() {
  // The program's screen is the area the page gives the canvas, in device pixels.
  return ScreenSize{page::canvasWidth(), page::canvasHeight()};
}

DrawingSurface& WebWindowSystem::createBackBuffer(int width, int height) {
  deleteBackBuffer();
  const int id = page::createBuffer(std::max(1, width), std::max(1, height));
  backBuffer_ = std::make_unique<CanvasSurface>(objects_, id, true);
  return *backBuffer_;
}

void WebWindowSystem::deleteBackBuffer() {
  if (backBuffer_) page::deleteBuffer(backBuffer_->surfaceId());
  backBuffer_.reset();
}

GdiObject WebWindowSystem::createSolidBrush(Rgb colour) {
  return objects_.add(DrawingObject{DrawingObject::Kind::Brush, colour, {}});
}

GdiObject WebWindowSystem::createPen(Rgb colour) {
  return objects_.add(DrawingObject{DrawingObject::Kind::Pen, colour, {}});
}

GdiObject WebWindowSystem::createFont(const FontSpec& font) {
  return objects_.add(DrawingObject{DrawingObject::Kind::Font, Rgb{}, font});
}

void WebWindowSystem::deleteObject(GdiObject object) { objects_.remove(object); }

DrawingSurface& WebWindowSystem::getWindowSurface() {
  windowSurface_.resetState();
  return windowSurface_;
}

}  // namespace mtd
