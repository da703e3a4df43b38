#include "cli/sweep/SweepPoint.h"

namespace mtd::cli {

const char* stopName(StopReason reason) {
  switch (reason) {
    case StopReason::Frames:
      return "frames";
    case StopReason::FrameErrors:
      return "frame-errors";
    case StopReason::Time:
      return "time";
    case StopReason::Interrupted:
      break;
  }
  return "interrupted";
}

}  // namespace mtd::cli
