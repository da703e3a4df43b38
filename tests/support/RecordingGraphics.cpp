#include "tests/support/RecordingGraphics.h"

#include <utility>

namespace mtd {

RecordingGraphics::RecordingGraphics(ScreenSize screen, std::optional<ScreenSize> client)
    : screen_(screen),
      window_(*this, "window", client.value_or(screen).width, client.value_or(screen).height,
              true) {
  window_.setUsable(false);  // until acquired
}

DrawingSurface& RecordingGraphics::createBackBuffer(int width, int height) {
  if (!backBuffers_.empty() && backBuffers_.back()->usable()) ++misuseCount_;  // never deleted
  backBuffers_.push_back(
      std::make_unique<RecordingSurface>(*this, "backBuffer", width, height, canvasEnabled_));
  addEvent(GraphicsEventKind::CreateBackBuffer);
  return *backBuffers_.back();
}

void RecordingGraphics::deleteBackBuffer() {
  RecordingSurface* current = backBuffer();
  if (current == nullptr || !current->usable()) {
    ++misuseCount_;
    return;
  }
  current->setUsable(false);
  ++backBuffersDeleted_;
  addEvent(GraphicsEventKind::DeleteBackBuffer);
}

GdiObject RecordingGraphics::addObject(ObjectRecord record) {
  record.handle = GdiObject{static_cast<int>(objects_.size()) + 1};
  objects_.push_back(std::move(record));
  addEvent(GraphicsEventKind::CreateObject, objects_.back().handle);
  return objects_.back().handle;
}

GdiObject RecordingGraphics::createSolidBrush(Rgb colour) {
  ObjectRecord record;
  record.kind = ObjectKind::Brush;
  record.colour = colour;
  return addObject(std::move(record));
}

GdiObject RecordingGraphics::createPen(Rgb colour) {
  ObjectRecord record;
  record.kind = ObjectKind::Pen;
  record.colour = colour;
  return addObject(std::move(record));
}

GdiObject RecordingGraphics::createFont(const FontSpec& font) {
  ObjectRecord record;
  record.kind = ObjectKind::Font;
  record.font = font;
  return addObject(std::move(record));
}

const ObjectRecord* RecordingGraphics::object(GdiObject handle) const {
  if (handle.id < 1 || handle.id > static_cast<int>(objects_.size())) return nullptr;
  return &objects_[static_cast<std::size_t>(handle.id - 1)];
}

void RecordingGraphics::deleteObject(GdiObject handle) {
  if (handle.id < 1 || handle.id > static_cast<int>(objects_.size()) ||
      objects_[static_cast<std::size_t>(handle.id - 1)].deleted) {
    ++misuseCount_;
    return;
  }
  objects_[static_cast<std::size_t>(handle.id - 1)].deleted = true;
  deletionOrder_.push_back(handle);
  addEvent(GraphicsEventKind::DeleteObject, handle);
}

int RecordingGraphics::liveObjectCount() const {
  int live = 0;
  for (const ObjectRecord& record : objects_) live += record.deleted ? 0 : 1;
  return live;
}

DrawingSurface& RecordingGraphics::getWindowSurface() {
  if (windowAcquired_) ++misuseCount_;
  windowAcquired_ = true;
  ++acquireCount_;
  window_.resetState();
  window_.setUsable(true);
  addEvent(GraphicsEventKind::AcquireWindowSurface);
  return window_;
}

void RecordingGraphics::releaseWindowSurface(DrawingSurface& surface) {
  if (&surface != &window_ || !windowAcquired_ || painting_) {
    ++misuseCount_;
    return;
  }
  windowAcquired_ = false;
  ++releaseCount_;
  window_.setUsable(false);
  addEvent(GraphicsEventKind::ReleaseWindowSurface);
}

DrawingSurface& RecordingGraphics::beginPaint() {
  if (windowAcquired_) ++misuseCount_;
  windowAcquired_ = true;
  painting_ = true;
  ++paintCount_;
  window_.resetState();
  window_.setUsable(true);
  return window_;
}

void RecordingGraphics::endPaint() {
  if (!painting_) {
    ++misuseCount_;
    return;
  }
  painting_ = false;
  windowAcquired_ = false;
  window_.setUsable(false);
}

void RecordingGraphics::setLogLimit(std::size_t limit) {
  logLimit_ = limit;
  window_.trimLog(limit);
  for (auto& buffer : backBuffers_) buffer->trimLog(limit);
  while (events_.size() > limit) events_.pop_front();
}

void RecordingGraphics::setCanvasEnabled(bool enabled) {
  canvasEnabled_ = enabled;
  window_.enableCanvas(enabled);
  for (auto& buffer : backBuffers_) buffer->enableCanvas(enabled);
}

void RecordingGraphics::addEvent(GraphicsEventKind kind, GdiObject object) {
  if (logLimit_ == 0) return;
  events_.push_back({kind, object});
  while (events_.size() > logLimit_) events_.pop_front();
}

}  // namespace mtd
