#include <windows.h>

#include <cerrno>
#include <csignal>

#include "cli/Interrupt.h"
#include "cli/InterruptSystem.h"

namespace mtd::cli {

namespace {

// Windows has no SIGPIPE; its POSIX number keeps the exit status scripts know (141).
constexpr int BROKEN_PIPE = 13;

// Runs on a thread of its own that the console starts. Ctrl-C reports as SIGINT (exit 130);
// Ctrl-Break, a closed console window, logoff and shutdown as SIGTERM (143).
BOOL WINAPI onConsoleEvent(DWORD event) {
  stopRequested(event == CTRL_C_EVENT ? SIGINT : SIGTERM);
  // After a close, logoff or shutdown event the system ends the process as soon as the handler
  // returns, and a few seconds later in any case: held here, it gives the sweep that time to
  // write what it has and return from main, which ends the process.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
    Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void installStopHandlers() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int brokenPipeSignal() { return BROKEN_PIPE; }

bool writeFailedOnClosedPipe() {
  const DWORD error = GetLastError();
  return errno == EPIPE ||
         (errno == EINVAL && (error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE ||
                              error == ERROR_PIPE_NOT_CONNECTED));
}

void removeFileNow(const char* path) { DeleteFileA(path); }

// Not ExitProcess, which would run the libraries' exit code while the main thread may hold
// their locks.
void endProcessNow(int status) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
  for (;;) Sleep(INFINITE);
}

}  // namespace mtd::cli
