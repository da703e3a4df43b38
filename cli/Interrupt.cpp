#include "cli/Interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstring>

#include "cli/Program.h"

namespace mtd::cli {

namespace {

// A signal handler may only touch lock-free atomics and call async-signal-safe functions; the
// temporary files' names live in fixed buffers for it.
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
constexpr std::size_t SLOTS = 8;
constexpr std::size_t PATH_BYTES = 4096;

std::atomic<bool> interrupted{false};
std::atomic<int> firstSignal{0};
std::array<std::array<char, PATH_BYTES>, SLOTS> paths{};
std::array<std::atomic<bool>, SLOTS> used{};

extern "C" void onSignal(int signal) {
  int none = 0;
  if (firstSignal.compare_exchange_strong(none, signal)) {
    interrupted.store(true);
    return;
  }
  for (std::size_t i = 0; i < SLOTS; ++i) {
    if (used[i].load()) unlink(paths[i].data());
  }
  _exit(exitStatusForSignal(signal));
}

}  // namespace

void catchInterrupt() {
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

const std::atomic<bool>& interruptFlag() { return interrupted; }

int interruptSignal() { return firstSignal.load(); }

void noteBrokenPipe() {
  int none = 0;
  firstSignal.compare_exchange_strong(none, SIGPIPE);
  interrupted.store(true);
}

int rememberTemporaryFile(const std::string& path) {
  if (path.size() >= PATH_BYTES) return -1;
  for (std::size_t i = 0; i < SLOTS; ++i) {
    if (used[i].load()) continue;
    std::memcpy(paths[i].data(), path.c_str(), path.size() + 1);
    used[i].store(true);
    return static_cast<int>(i);
  }
  return -1;
}

void forgetTemporaryFile(int slot) {
  if (slot >= 0 && static_cast<std::size_t>(slot) < SLOTS)
    used[static_cast<std::size_t>(slot)].store(false);
}

}  // namespace mtd::cli
