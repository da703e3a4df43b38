#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <vector>

#include "tests/support/RecordingSurface.h"
#include "ui/DrawingSurface.h"

namespace mtd {

enum class ObjectKind { Brush, Pen, Font };

struct ObjectRecord {
  GdiObject handle;
  ObjectKind kind = ObjectKind::Brush;
  Rgb colour;     // brushes and pens
  FontSpec font;  // fonts
  bool deleted = false;
};

enum class GraphicsEventKind {
  CreateBackBuffer,
  DeleteBackBuffer,
  CreateObject,
  DeleteObject,
  AcquireWindowSurface,
  ReleaseWindowSurface,
};

struct GraphicsEvent {
  GraphicsEventKind kind;
  GdiObject object;  // CreateObject, DeleteObject
  friend bool operator==(const GraphicsEvent&, const GraphicsEvent&) = default;
};

// A window system's drawing side without a window: a screen of a chosen size, drawing objects
// with ids and descriptions, a recording back buffer and a recording window surface (the
// window's pixels, which persist between acquisitions). For tests, and for the headless runner,
// which turns the log and the canvas off (a whole run draws millions of cells).
class RecordingGraphics : public Graphics {
 public:
  static constexpr std::size_t DEFAULT_LOG_LIMIT = 1 << 16;
  static constexpr std::size_t UNLIMITED = std::numeric_limits<std::size_t>::max();

  // The window's client area defaults to the whole screen.
  explicit RecordingGraphics(ScreenSize screen, std::optional<ScreenSize> client = std::nullopt);

  // Graphics
  ScreenSize screenSize() override { return screen_; }
  DrawingSurface& createBackBuffer(int width, int height) override;
  void deleteBackBuffer() override;
  GdiObject createSolidBrush(Rgb colour) override;
  GdiObject createPen(Rgb colour) override;
  GdiObject createFont(const FontSpec& font) override;
  void deleteObject(GdiObject object) override;
  DrawingSurface& getWindowSurface() override;
  void releaseWindowSurface(DrawingSurface& surface) override;

  // A repaint: BeginPaint gives the window's surface in its default state, EndPaint ends it.
  DrawingSurface& beginPaint();
  void endPaint();

  // How much is kept: calls per log (the oldest go first; 0 keeps none) and the pictures.
  void setLogLimit(std::size_t limit);
  std::size_t logLimit() const { return logLimit_; }
  void setCanvasEnabled(bool enabled);
  bool canvasEnabled() const { return canvasEnabled_; }

  // The back buffer made last (null before the first); it stays readable after deletion.
  RecordingSurface* backBuffer() {
    return backBuffers_.empty() ? nullptr : backBuffers_.back().get();
  }
  RecordingSurface& windowSurface() { return window_; }
  bool windowSurfaceAcquired() const { return windowAcquired_; }

  const ObjectRecord* object(GdiObject handle) const;
  const std::vector<ObjectRecord>& objects() const { return objects_; }
  const std::vector<GdiObject>& deletionOrder() const { return deletionOrder_; }
  int liveObjectCount() const;
  const std::deque<GraphicsEvent>& events() const { return events_; }

  std::int64_t acquireCount() const { return acquireCount_; }
  std::int64_t releaseCount() const { return releaseCount_; }
  std::int64_t paintCount() const { return paintCount_; }
  int backBuffersCreated() const { return static_cast<int>(backBuffers_.size()); }
  int backBuffersDeleted() const { return backBuffersDeleted_; }
  // Deleting an unknown or deleted object, releasing a surface not acquired, acquiring one
  // already acquired, deleting a back buffer that does not exist.
  std::int64_t misuseCount() const { return misuseCount_; }

 private:
  GdiObject addObject(ObjectRecord record);
  void addEvent(GraphicsEventKind kind, GdiObject object = {});

  ScreenSize screen_;
  RecordingSurface window_;
  std::vector<std::unique_ptr<RecordingSurface>> backBuffers_;
  std::vector<ObjectRecord> objects_;
  std::vector<GdiObject> deletionOrder_;
  std::deque<GraphicsEvent> events_;
  std::size_t logLimit_ = DEFAULT_LOG_LIMIT;
  bool canvasEnabled_ = true;
  bool windowAcquired_ = false;
  bool painting_ = false;
  int backBuffersDeleted_ = 0;
  std::int64_t acquireCount_ = 0;
  std::int64_t releaseCount_ = 0;
  std::int64_t paintCount_ = 0;
  std::int64_t misuseCount_ = 0;
};

}  // namespace mtd
