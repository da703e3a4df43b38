#include "SweepChild.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace mtd::bench {

namespace {

volatile std::sig_atomic_t interruption = 0;

void noteInterruption(int signal) { interruption = signal; }

// While a child runs, an interruption is noted here and passed on, so that the child ends first
// and its file is removed.
struct InterruptionForwarding {
  InterruptionForwarding() {
    struct sigaction action {};
    action.sa_handler = noteInterruption;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt);
    sigaction(SIGTERM, &action, &oldTerm);
  }
  ~InterruptionForwarding() {
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
  }
  struct sigaction oldInt {};
  struct sigaction oldTerm {};
};

std::string variableName(const std::string& assignment) {
  return assignment.substr(0, assignment.find('='));
}

// This process's environment with `added` replacing variables of the same names.
std::vector<std::string> childEnvironment(const std::vector<std::string>& added) {
  std::vector<std::string> result;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string name = variableName(*e);
    bool replaced = false;
    for (const std::string& a : added) replaced = replaced || variableName(a) == name;
    if (!replaced) result.emplace_back(*e);
  }
  result.insert(result.end(), added.begin(), added.end());
  return result;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (std::string& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

// Starts the child with default signal handling and its output on /dev/null; returns its exit
// status, or -1 with `error` set.
int runChild(std::vector<std::string> arguments, std::vector<std::string> environment,
             std::string& error) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  const std::vector<char*> argv = pointers(arguments);
  const std::vector<char*> envp = pointers(environment);
  pid_t child = 0;
  const int started = posix_spawn(&child, argv[0], &files, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  if (started != 0) {
    error = arguments[0] + ": " + std::strerror(started);
    return -1;
  }
  int status = 0;
  bool forwarded = false;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
    if (interruption && !forwarded) {
      kill(child, interruption);
      forwarded = true;
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::vector<std::string> splitCsv(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
  return fields;
}

// The first data row of a sweep's CSV (after its comment lines and heading).
std::optional<ChildPoint> readPoint(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> heading;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    if (heading.empty()) {
      heading = splitCsv(line);
      continue;
    }
    const std::vector<std::string> row = splitCsv(line);
    ChildPoint point;
    for (std::size_t i = 0; i < heading.size() && i < row.size(); ++i) {
      if (heading[i] == "frames") point.frames = std::stoll(row[i]);
      if (heading[i] == "info_bits") point.infoBits = std::stoll(row[i]);
      if (heading[i] == "seconds") point.seconds = std::stod(row[i]);
    }
    if (point.seconds > 0.0) return point;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ChildPoint> runSweepChild(const std::vector<std::string>& arguments,
                                        const std::vector<std::string>& environment,
                                        const std::string& csvPath, std::string& error) {
  int status = 0;
  {
    const InterruptionForwarding forwarding;
    status = runChild(arguments, childEnvironment(environment), error);
  }
  std::optional<ChildPoint> point;
  if (status == 0) point = readPoint(csvPath);
  std::remove(csvPath.c_str());
  if (interruption) std::exit(128 + interruption);
  if (status < 0) return std::nullopt;
  if (status != 0) error = arguments[0] + " exited with status " + std::to_string(status);
  if (status == 0 && !point) error = arguments[0] + " wrote no point to " + csvPath;
  return point;
}

}  // namespace mtd::bench
