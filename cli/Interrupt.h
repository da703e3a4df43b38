#pragma once

#include <atomic>

namespace mtd::cli {

// From the call on, SIGINT (Ctrl-C) no longer ends the process; it sets the flag instead, which
// long work polls so as to stop and keep what it has computed. A second SIGINT ends the process.
void catchInterrupt();

// Set once SIGINT has arrived.
const std::atomic<bool>& interruptFlag();

inline constexpr int EXIT_INTERRUPTED = 130;  // as a shell reports a process ended by SIGINT

}  // namespace mtd::cli
