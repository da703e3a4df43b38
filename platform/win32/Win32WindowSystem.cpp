#include "platform/win32/Win32WindowSystem.h"

#include <string>
#include <vector>

namespace mtd {

namespace {

constexpr UINT_PTR WAIT_TIMER_ID = 1;

COLORREF colorRef(Rgb colour) { return static_cast<COLORREF>(colour.colorref()); }

}  // namespace

Win32WindowSystem::~Win32WindowSystem() { deleteBackBuffer(); }

int Win32WindowSystem::runMessageLoop() {
  while (!quitTaken_) {
    const BOOL got = GetMessageA(&message_, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message_.wParam);
    if (got == -1) return 0;  // the queue is unusable; nothing more can happen
    translateAndDispatch();
  }
  return *quitTaken_;
}

bool Win32WindowSystem::pumpOnce() {
  if (!PeekMessageA(&message_, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message_.message == WM_QUIT) {
    quitTaken_ = static_cast<int>(message_.wParam);
    return true;
  }
  translateAndDispatch();
  return true;
}

void Win32WindowSystem::translateAndDispatch() {
  // TranslateAcceleratorA sends no WM_COMMAND for a grayed item: the run control relies on it.
  if (accelerators_ != nullptr && TranslateAcceleratorA(window_, accelerators_, &message_)) {
    return;
  }
  TranslateMessage(&message_);
  DispatchMessageA(&message_);
}

void Win32WindowSystem::waitMessage() {
  // WaitMessage sleeps until a message arrives that no Peek has seen yet; one that is already
  // queued (a pump takes only one at a time) must end the wait at once.
  MSG queued;
  if (quitTaken_ || PeekMessageA(&queued, nullptr, 0, 0, PM_NOREMOVE)) return;
  WaitMessage();
}

void Win32WindowSystem::setTimer(int milliseconds) {
  SetTimer(window_, WAIT_TIMER_ID, static_cast<UINT>(milliseconds), nullptr);
}

bool Win32WindowSystem::killTimer() { return KillTimer(window_, WAIT_TIMER_ID) != 0; }

HMENU Win32WindowSystem::menu() {
  if (menu_ == nullptr && window_ != nullptr) menu_ = GetMenu(window_);
  return menu_;
}

void Win32WindowSystem::setMenuItemEnabled(int commandId, bool enabled) {
  EnableMenuItem(menu(), static_cast<UINT>(commandId),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void Win32WindowSystem::setMenuItemChecked(int commandId, bool checked) {
  CheckMenuItem(menu(), static_cast<UINT>(commandId),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32WindowSystem::drawMenuBar() { DrawMenuBar(window_); }

std::int64_t Win32WindowSystem::monotonicMicroseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  // Split so that the product cannot overflow however long the machine has been up.
  const std::int64_t ticks = counter.QuadPart;
  const std::int64_t perSecond = frequency.QuadPart;
  return ticks / perSecond * 1'000'000 + ticks % perSecond * 1'000'000 / perSecond;
}

void Win32WindowSystem::sleepMicroseconds(std::int64_t microseconds) {
  // Sleep counts whole milliseconds and wakes on the timer's tick (15.6 ms by default); the
  // pacing measures what it really slept and carries the difference to the next steps.
  if (microseconds >= 1000) Sleep(static_cast<DWORD>(microseconds / 1000));
}

// The caption goes in UTF-16, straight to the default procedure, whatever the ANSI code page:
// the suffix's dash and multiplication sign have no Windows-1251 byte, and the Russian title
// must survive a system whose code page is not 1251.
void Win32WindowSystem::setCaptionSuffix(const char* utf8Text) {
  if (window_ == nullptr) return;
  std::string caption = WINDOW_CAPTION_UTF8;
  if (utf8Text != nullptr && *utf8Text != '\0') caption.append(" ").append(utf8Text);
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, caption.data(), static_cast<int>(caption.size()), nullptr, 0);
  if (length <= 0) return;
  std::vector<wchar_t> wide(static_cast<std::size_t>(length) + 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, caption.data(), static_cast<int>(caption.size()), wide.data(),
                      length);
  DefWindowProcW(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.data()));
}

void Win32WindowSystem::postQuit(int exitCode) { PostQuitMessage(exitCode); }

ScreenSize Win32WindowSystem::screenSize() {
  return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

DrawingSurface& Win32WindowSystem::createBackBuffer(int width, int height) {
  deleteBackBuffer();
  HDC windowDc = GetDC(window_);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  backBitmap_ = CreateCompatibleBitmap(windowDc, width, height);
  bitmapBeforeBackBuffer_ = SelectObject(memoryDc, backBitmap_);
  ReleaseDC(window_, windowDc);
  return backBuffer_.emplace(memoryDc, objects_);
}

void Win32WindowSystem::deleteBackBuffer() {
  if (!backBuffer_) return;
  // The bitmap goes too: a DC must not be deleted with it selected, nor the bitmap leak.
  SelectObject(backBuffer_->dc(), bitmapBeforeBackBuffer_);
  DeleteDC(backBuffer_->dc());
  DeleteObject(backBitmap_);
  backBuffer_.reset();
  backBitmap_ = nullptr;
  bitmapBeforeBackBuffer_ = nullptr;
}

GdiObject Win32WindowSystem::createSolidBrush(Rgb colour) {
  return objects_.add(CreateSolidBrush(colorRef(colour)));
}

GdiObject Win32WindowSystem::createPen(Rgb colour) {
  return objects_.add(CreatePen(PS_SOLID, 1, colorRef(colour)));
}

GdiObject Win32WindowSystem::createFont(const FontSpec& font) {
  return objects_.add(CreateFontA(font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                                  static_cast<DWORD>(font.charSet), OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  static_cast<DWORD>(font.pitchAndFamily), font.face.c_str()));
}

void Win32WindowSystem::deleteObject(GdiObject object) {
  if (HGDIOBJ handle = objects_.remove(object)) DeleteObject(handle);
}

DrawingSurface& Win32WindowSystem::getWindowSurface() {
  // A nested acquisition shares the DC that is already held.
  if (windowSurfaceHolds_++ == 0) windowSurface_.emplace(GetDC(window_), objects_);
  return *windowSurface_;
}

void Win32WindowSystem::releaseWindowSurface(DrawingSurface& surface) {
  if (!windowSurface_ || &surface != &*windowSurface_ || windowSurfaceHolds_ == 0) return;
  if (--windowSurfaceHolds_ == 0) {
    ReleaseDC(window_, windowSurface_->dc());
    windowSurface_.reset();
  }
}

}  // namespace mtd
