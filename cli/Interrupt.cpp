#include "cli/Interrupt.h"

#include <array>
#include <cstring>

#include "cli/InterruptSystem.h"
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

}  // namespace

void stopRequested(int signal) {
  int none = 0;
  if (firstSignal.compare_exchange_strong(none, signal)) {
    interrupted.store(true);
    return;
  }
  for (std::size_t i = 0; i < SLOTS; ++i) {
    if (used[i].load()) removeFileNow(paths[i].data());
  }
  endProcessNow(exitStatusForSignal(signal));
}

void catchInterrupt() { installStopHandlers(); }

const std::atomic<bool>& interruptFlag() { return interrupted; }

int interruptSignal() { return firstSignal.load(); }

void noteBrokenPipe() {
  int none = 0;
  firstSignal.compare_exchange_strong(none, brokenPipeSignal());
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
