#include "control/RunIndicators.h"

#include <cmath>

#include "control/Menu.h"
#include "control/Pacing.h"

namespace mtd {

namespace {

// Grow and Low halve and double the delay, but truncation and the limits make the ratio to
// the loaded pace inexact (10 is 500,000 times faster, 100,000,000 twenty times slower): the
// caption rounds the true ratio rather than counting presses.
std::string speedText(std::int32_t delayCount) {
  if (delayCount <= 0 || delayCount == DELAY_AFTER_LOAD) return {};
  if (delayCount < DELAY_AFTER_LOAD) {
    const auto faster = std::llround(static_cast<double>(DELAY_AFTER_LOAD) / delayCount);
    return std::string("speed \xC3\x97").append(std::to_string(faster));
  }
  const auto slower = std::llround(static_cast<double>(delayCount) / DELAY_AFTER_LOAD);
  return std::string(
             "speed \xC3\x97"
             "1/")
      .append(std::to_string(slower));
}

}  // namespace

std::string runStateCaption(const RunState& state) {
  static constexpr const char* DASH = "\xE2\x80\x94 ";  // an em dash and a space
  std::string caption;
  if (state.paused && !state.timedWaitTicking) caption.append(DASH).append("paused");
  const std::string speed = speedText(state.delayCount);
  if (speed.empty()) return caption;
  if (!caption.empty()) caption.append(" ");
  caption.append(DASH).append(speed);
  return caption;
}

bool stepApplies(const RunState& state) { return state.running && state.paused; }

void RunIndicators::show(const RunState& state) {
  const std::string caption = runStateCaption(state);
  if (caption_ != caption) {
    windowSystem_.setCaptionSuffix(caption.c_str());
    caption_ = caption;
  }
  const bool step = stepApplies(state);
  if (stepEnabled_ != step) {
    windowSystem_.setMenuItemEnabled(CMD_STEP, step);
    windowSystem_.drawMenuBar();
    stepEnabled_ = step;
  }
}

}  // namespace mtd
