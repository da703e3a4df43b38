#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "SimProcess.h"

namespace mtd::testing {
namespace {

// mtd-sim with all three streams on a pseudo-terminal, as in an interactive shell.
SimOutcome runOnTerminal(std::vector<std::string> arguments, const std::string& directory) {
  arguments.insert(arguments.begin(), MTD_SIM_BINARY);
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child < 0) return {};
  if (child == 0) {
    if (chdir(directory.c_str()) == 0) execv(argv[0], argv.data());
    _exit(127);
  }
  SimOutcome outcome;
  char buffer[4096];
  for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;) outcome.out.append(buffer, n);
  close(terminal);
  int wstatus = 0;
  waitpid(child, &wstatus, 0);
  outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return outcome;
}

// On a terminal a progress line shows the running counts and is erased before its point's row;
// elsewhere (every other test) standard error stays empty.
TEST(SweepTerminal, ProgressLineIsErasedBeforeTheRow) {
  const ScratchDirectory dir;
  const SimOutcome run = runOnTerminal(
      {"sweep", "--p", "0.05", "--frames", "8192", "--frame-errors", "0"}, dir.path().string());
  ASSERT_EQ(run.status, 0) << run.out;
  const std::size_t progress = run.out.find("\rp=0.05");
  ASSERT_NE(progress, std::string::npos) << run.out;
  const std::size_t lineEnd = run.out.find("\033[K", progress);
  ASSERT_NE(lineEnd, std::string::npos);
  const std::string line = run.out.substr(progress + 1, lineEnd - progress - 1);
  for (const char* part : {"frames ", "frame errors ", "BER ", "FER ", "Mbit/s"}) {
    EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;
  }
  // The last progress line is wiped (carriage return, clear to the end) before the row.
  const std::size_t erased = run.out.rfind("\r\033[K");
  const std::size_t row = run.out.find("      0.05 |");
  ASSERT_NE(row, std::string::npos) << run.out;
  EXPECT_LT(erased, row);
  EXPECT_GT(erased, run.out.rfind("\rp=0.05"));

  const SimOutcome piped = runSim({"sweep", "--p", "0.05", "--frames", "8192"}, dir.path());
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
}

}  // namespace
}  // namespace mtd::testing
