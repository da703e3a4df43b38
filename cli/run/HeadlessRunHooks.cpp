#include "cli/run/HeadlessRunHooks.h"

#include "cli/run/Transcript.h"
#include "control/RunController.h"

namespace mtd::cli {

void HeadlessRunHooks::showStatistics() {
  if (out_ == nullptr || run_ == nullptr) return;
  std::fputs(shownBlockText(simulation(), *run_).c_str(), out_);
}

}  // namespace mtd::cli
