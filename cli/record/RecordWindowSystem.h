#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "cli/record/SwitchableSurface.h"
#include "control/MainWindow.h"
#include "control/Pacing.h"
#include "control/WindowSystem.h"
#include "ui/DrawingSurface.h"

namespace mtd::cli::record {

// What the recording is told of the run as the window system sees it.
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // One animated step: a check of a pass or of the decoder serviced the message queue.
  virtual void animatedStep() = 0;
  // A timed wait of this many milliseconds begins; it runs to its end unless finished().
  virtual void timedWait(int milliseconds) = 0;
  // Nothing more is wanted of the run: it is to end as a Quit would end it.
  virtual bool finished() const = 0;
  // Whether what the run draws now can still be seen in a recorded frame.
  virtual bool drawingWanted() const = 0;
};

// A window system without a window for recording: the client area is an image in memory; the
// message queue holds no user input; the clock is virtual and moves only through the timed
// waits, so the run never takes a silent stretch for a long one and every run draws the same.
// Each service of the queue inside the animation is one animated step, reported to the
// observer; the animation is not paced, since its frames are timed by the recording. Nothing
// is drawn while the observer wants no drawing.
class RecordWindowSystem final : public WindowSystem {
 public:
  // The graphics draw the window's client area of the given size.
  RecordWindowSystem(Graphics& graphics, ScreenSize client)
      : graphics_(graphics), client_(client) {}

  void attach(MainWindow& window, const Pacing& pacing, RunObserver& observer) {
    window_ = &window;
    pacing_ = &pacing;
    observer_ = &observer;
  }

  // Creates the window, gives it its size (which draws the empty grid) and performs one Run
  // until the observer has what it wants; then closes the window.
  void runOnce();

  // WindowSystem
  bool pumpOnce() override;
  void waitMessage() override;
  void setTimer(int milliseconds) override;
  bool killTimer() override;
  void setMenuItemEnabled(int, bool) override {}
  void drawMenuBar() override {}
  void postQuit(int) override {}
  std::int64_t tickMilliseconds() override { return clock_; }
  // Frames follow the animated steps, not time: the delay steps take no time on this clock.
  std::int64_t monotonicMicroseconds() override { return clock_ * 1000; }
  void sleepMicroseconds(std::int64_t) override {}
  void setMenuItemChecked(int, bool) override {}
  void setCaptionSuffix(const char*) override {}

  // Graphics
  ScreenSize screenSize() override { return graphics_.screenSize(); }
  DrawingSurface& createBackBuffer(int width, int height) override {
    backBuffer_ =
        std::make_unique<SwitchableSurface>(graphics_.createBackBuffer(width, height), drawing_);
    return *backBuffer_;
  }
  void deleteBackBuffer() override {
    graphics_.deleteBackBuffer();
    backBuffer_.reset();
  }
  GdiObject createSolidBrush(Rgb colour) override { return graphics_.createSolidBrush(colour); }
  GdiObject createPen(Rgb colour) override { return graphics_.createPen(colour); }
  GdiObject createFont(const FontSpec& font) override { return graphics_.createFont(font); }
  void deleteObject(GdiObject object) override { graphics_.deleteObject(object); }
  DrawingSurface& getWindowSurface() override {
    windowSurface_ = std::make_unique<SwitchableSurface>(graphics_.getWindowSurface(), drawing_);
    return *windowSurface_;
  }
  void releaseWindowSurface(DrawingSurface&) override {
    if (windowSurface_) graphics_.releaseWindowSurface(windowSurface_->target());
    windowSurface_.reset();
  }

 private:
  struct Timer {
    int milliseconds = 0;
    std::int64_t due = 0;
    bool reported = false;  // the observer has been told of this wait
  };

  Graphics& graphics_;
  ScreenSize client_;
  MainWindow* window_ = nullptr;
  const Pacing* pacing_ = nullptr;
  RunObserver* observer_ = nullptr;
  void followObserver() { drawing_ = observer_->drawingWanted(); }

  std::unique_ptr<SwitchableSurface> backBuffer_;
  std::unique_ptr<SwitchableSurface> windowSurface_;
  bool drawing_ = true;
  std::optional<Timer> timer_;
  std::int64_t clock_ = 0;
  bool quitSent_ = false;
};

}  // namespace mtd::cli::record
