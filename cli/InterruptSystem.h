#pragma once

// What the stop handling needs from the operating system, one file per system
// (InterruptPosix.cpp, InterruptWindows.cpp). Everything here may run inside a signal handler
// or a console control handler.

namespace mtd::cli {

// Installs the handlers that call stopRequested() in place of ending the process.
void installStopHandlers();

// The number reported for a reader that went away (SIGPIPE where the system has it), so
// that scripts see 128 + it as from a killed process.
int brokenPipeSignal();

// Removes a file at once, without allocating.
void removeFileNow(const char* path);

// Ends the process at once with the status, running no destructors.
[[noreturn]] void endProcessNow(int status);

// The handlers' common part (Interrupt.cpp): the first request sets the flag, a second one
// removes the temporary files and ends the process.
void stopRequested(int signal);

}  // namespace mtd::cli
