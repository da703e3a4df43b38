#pragma once

#include <atomic>
#include <string>

namespace mtd::cli {

// From the call on, SIGINT (Ctrl-C), SIGTERM and SIGHUP no longer end the process; the first
// of them sets the flag instead, which long work polls so as to stop and keep what it has
// computed. SIGPIPE is ignored: a write to a closed pipe fails instead, and the writer calls
// noteBrokenPipe(). A second signal ends the process at once, removing the registered
// temporary files first.
void catchInterrupt();

// Set once a signal or a broken pipe asks to stop.
const std::atomic<bool>& interruptFlag();

// The signal that asked to stop first (SIGPIPE for a broken pipe); 0 while none has.
int interruptSignal();

// A write failed because the reader of a pipe is gone: stop as SIGPIPE would, but keep what
// was computed.
void noteBrokenPipe();

// Whether the stream write that just failed (errno and the system's last error still set by
// it) failed because the reader of a pipe is gone: EPIPE on POSIX systems; on Windows the C
// library reports EINVAL, and the system's error says which pipe fault it was.
bool writeFailedOnClosedPipe();

// Temporary files that a second signal removes before it ends the process. Returns a slot for
// forgetTemporaryFile, or -1 when all slots are taken.
int rememberTemporaryFile(const std::string& path);
void forgetTemporaryFile(int slot);

}  // namespace mtd::cli
