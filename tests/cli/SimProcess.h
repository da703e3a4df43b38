#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mtd::testing {

struct SimOutcome {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the built mtd-sim with the arguments in the directory, as a user would from a shell.
SimOutcome runSim(const std::vector<std::string>& arguments,
                  const std::filesystem::path& workingDirectory);

// mtd-sim started in the background, for tests that act while it runs.
class SimChild {
 public:
  SimChild(const std::vector<std::string>& arguments,
           const std::filesystem::path& workingDirectory);
  ~SimChild();
  SimChild(const SimChild&) = delete;
  SimChild& operator=(const SimChild&) = delete;

  // What it has written to stdout so far.
  std::string outSoFar() const;
  void signal(int number) const;
  // Waits for the exit and collects the streams.
  SimOutcome wait();

 private:
  std::filesystem::path capture_;
  int child_ = -1;
};

// A fresh empty directory, removed with the object.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void writeConfiguration(const std::string& text) const;

 private:
  std::filesystem::path path_;
};

std::vector<std::string> linesOf(const std::string& text);

// init.txt with the default values and the marker, with one line replaced (1 to 9).
std::string defaultConfigurationWith(int lineNumber, const std::string& line);

}  // namespace mtd::testing
