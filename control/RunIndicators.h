#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "control/WindowSystem.h"

namespace mtd {

// What the window shows of a run's state besides the picture: the caption's suffix and whether
// Step can be chosen.
struct RunState {
  bool running = false;
  bool paused = false;            // held by the user, by a Step or by a frozen timed wait
  bool timedWaitTicking = false;  // paused only because a timed wait runs on its timer
  std::int32_t delayCount = 0;
  friend bool operator==(const RunState&, const RunState&) = default;
};

// "— paused" while held (a timed wait on its timer is not a hold), and the speed relative to
// the pace every load sets, e.g. "— speed ×4" or "— speed ×1/2"; joined when both apply.
std::string runStateCaption(const RunState& state);
// Step applies while a run is held or waits.
bool stepApplies(const RunState& state);

// Keeps the caption and the Step item in line with the run's state, touching the window only
// when something it shows changes.
class RunIndicators {
 public:
  explicit RunIndicators(WindowSystem& windowSystem) : windowSystem_(windowSystem) {}
  void show(const RunState& state);

 private:
  WindowSystem& windowSystem_;
  std::optional<std::string> caption_;
  std::optional<bool> stepEnabled_;
};

}  // namespace mtd
