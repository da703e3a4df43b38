#include <windows.h>

#include <csignal>

#include "cli/InterruptSystem.h"

namespace mtd::cli {

namespace {

// Windows has no SIGPIPE; its POSIX number keeps the exit status scripts know (141).
constexpr int BROKEN_PIPE = 13;

// Runs on a thread of its own that the console starts. Ctrl-C reports as SIGINT (exit 130);
// Ctrl-Break, a closed console window, logoff and shutdown as SIGTERM (143). The process may
// be ended a few seconds after a close event whatever the handler does, so the first one
// already matters: the sweep stops at once and writes what it has.
BOOL WINAPI onConsoleEvent(DWORD event) {
  stopRequested(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  return TRUE;
}

}  // namespace

void installStopHandlers() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int brokenPipeSignal() { return BROKEN_PIPE; }

void removeFileNow(const char* path) { DeleteFileA(path); }

void endProcessNow(int status) { ExitProcess(static_cast<UINT>(status)); }

}  // namespace mtd::cli
