#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "cli/sweep/Plotter.h"

extern char** environ;

namespace mtd::cli {

namespace {

constexpr const char* PLOTTER = "gnuplot";

}  // namespace

bool plotterAvailable() {
  const char* path = std::getenv("PATH");
  std::istringstream directories(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string directory; std::getline(directories, directory, ':');) {
    const std::string candidate = (directory.empty() ? "." : directory) + "/" + PLOTTER;
    if (access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::string plotterMissingHint() { return "gnuplot is not installed (Debian package gnuplot-nox)"; }

bool runPlotter(const std::string& script, std::string& error) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    error = "cannot start gnuplot";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  // The plot goes to its file; what gnuplot prints is of no use on the table's stdout.
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  // A process group of its own: the terminal's Ctrl-C reaches the sweep and not the plotter.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  char name[] = "gnuplot";
  char* argv[] = {name, nullptr};
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, PLOTTER, &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(pipeEnds[0]);
  if (spawned != 0) {
    ::close(pipeEnds[1]);
    error = "cannot start gnuplot (is the gnuplot-nox package installed?)";
    return false;
  }
  // A plotter that dies early must not take this process down with SIGPIPE.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  std::size_t written = 0;
  while (written < script.size()) {
    const ssize_t n = write(pipeEnds[1], script.data() + written, script.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  ::close(pipeEnds[1]);
  sigaction(SIGPIPE, &previous, nullptr);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (written < script.size() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = "gnuplot failed to draw the plot";
    return false;
  }
  return true;
}

}  // namespace mtd::cli
