#pragma once

#include <atomic>

namespace mtd::cli::record {

// From the call on, SIGINT (Ctrl-C) and SIGTERM set the flag instead of ending the process, so
// the recording stops and keeps what it has; a second one ends the process at once. SIGPIPE is
// ignored: a closed output or a failed ffmpeg shows as a write error instead.
void catchStopSignals();
const std::atomic<bool>& stopFlag();

}  // namespace mtd::cli::record
