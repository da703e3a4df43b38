#include "cli/record/StopSignals.h"

#include <signal.h>

namespace mtd::cli::record {

namespace {

static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> stopped{false};

extern "C" void onStopSignal(int) { stopped.store(true, std::memory_order_relaxed); }

}  // namespace

void catchStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

const std::atomic<bool>& stopFlag() { return stopped; }

}  // namespace mtd::cli::record
