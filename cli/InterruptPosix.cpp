#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "cli/Interrupt.h"
#include "cli/InterruptSystem.h"

namespace mtd::cli {

namespace {

extern "C" void onSignal(int signal) { stopRequested(signal); }

}  // namespace

// SIGPIPE is ignored: a write to a closed pipe fails instead, and the writer keeps what it
// has before stopping.
void installStopHandlers() {
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

int brokenPipeSignal() { return SIGPIPE; }

bool writeFailedOnClosedPipe() { return errno == EPIPE; }

void removeFileNow(const char* path) { unlink(path); }

void endProcessNow(int status) { _exit(status); }

}  // namespace mtd::cli
