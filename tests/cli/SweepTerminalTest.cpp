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
SimOutcome runOnTerminal(std::vector<std::string> arguments, const std::string& directory,
                         unsigned short columns = 120) {
  arguments.insert(arguments.begin(), MTD_SIM_BINARY);
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  int terminal = -1;
  winsize size{};
  size.ws_row = 40;
  size.ws_col = columns;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
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
  const std::size_t row = run.out.find("     0.05        8192");
  ASSERT_NE(row, std::string::npos) << run.out;
  EXPECT_LT(erased, row);
  EXPECT_GT(erased, run.out.rfind("\rp=0.05"));

  const SimOutcome piped = runSim({"sweep", "--p", "0.05", "--frames", "8192"}, dir.path());
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
}

// On a narrow terminal the progress line is cut to fit, so that a redraw never wraps into a
// new line; the table's rows fit 80 columns.
TEST(SweepTerminal, ProgressLineAndTableFitTheTerminal) {
  const ScratchDirectory dir;
  constexpr std::size_t COLUMNS = 50;
  const SimOutcome run =
      runOnTerminal({"sweep", "--p", "0.05,0.03", "--frames", "20480", "--frame-errors", "0"},
                    dir.path().string(), COLUMNS);
  ASSERT_EQ(run.status, 0) << run.out;
  std::size_t shown = 0;
  for (std::size_t at = run.out.find("\rp="); at != std::string::npos;
       at = run.out.find("\rp=", at + 1)) {
    const std::size_t end = run.out.find("\033[K", at);
    ASSERT_NE(end, std::string::npos);
    EXPECT_LT(end - at - 1, COLUMNS) << run.out.substr(at + 1, end - at - 1);
    ++shown;
  }
  EXPECT_GT(shown, 0u);
  for (std::string line : linesOf(run.out)) {
    if (line.ends_with("\r")) line.pop_back();  // the terminal's line ends
    if (line.find("\033") == std::string::npos && !line.starts_with("#   command")) {
      EXPECT_LT(line.size(), 80u) << line;
    }
  }
}

}  // namespace
}  // namespace mtd::testing
