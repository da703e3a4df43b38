#pragma once

#include <cstdint>

namespace mtd {

// The silent trials between two shown blocks. They service no message by themselves, so a
// run that shows nothing for hours would ignore Pause, Reset and Quit; the run controller
// services the messages once this much silent work has passed, and shows its progress once a
// stretch has lasted long enough for a user to wonder.
class SilentStretch {
 public:
  static constexpr std::int64_t SERVICE_INTERVAL_MS = 50;
  static constexpr std::int64_t PROGRESS_AFTER_MS = 1000;

  void begin(std::int64_t now) { start_ = lastService_ = now; }
  bool serviceDue(std::int64_t now) const { return now - lastService_ >= SERVICE_INTERVAL_MS; }
  bool progressDue(std::int64_t now) const { return now - start_ > PROGRESS_AFTER_MS; }
  void serviced(std::int64_t now) { lastService_ = now; }

 private:
  std::int64_t start_ = 0;
  std::int64_t lastService_ = 0;
};

}  // namespace mtd
