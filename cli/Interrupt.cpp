#include "cli/Interrupt.h"

#include <signal.h>

namespace mtd::cli {

namespace {

// A signal handler may only touch lock-free atomics.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

}  // namespace

void catchInterrupt() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // A second Ctrl-C ends the process at once, for when the first is not answered soon enough.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
}

const std::atomic<bool>& interruptFlag() { return interrupted; }

}  // namespace mtd::cli
