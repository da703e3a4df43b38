#include "SimProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mtd::testing {

namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

SimOutcome runSim(const std::vector<std::string>& arguments,
                  const std::filesystem::path& workingDirectory) {
  return SimChild(arguments, workingDirectory).wait();
}

SimChild::SimChild(const std::vector<std::string>& arguments,
                   const std::filesystem::path& workingDirectory) {
  // The streams go to files, so a large transcript cannot fill a pipe and stall the child.
  static std::atomic<int> counter{0};
  capture_ = std::filesystem::temp_directory_path() /
             ("mtd-cli-capture-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(capture_);
  const std::string outPath = (capture_ / "out").string();
  const std::string errPath = (capture_ / "err").string();
  const std::string directory = workingDirectory.string();
  std::vector<std::string> argvText{MTD_SIM_BINARY};
  argvText.insert(argvText.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  child_ = fork();
  if (child_ < 0) throw std::runtime_error("fork failed");
  if (child_ == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
        chdir(directory.c_str()) != 0) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
}

SimChild::~SimChild() {
  if (child_ > 0) {
    kill(child_, SIGKILL);
    wait();
  }
  std::error_code ignored;
  std::filesystem::remove_all(capture_, ignored);
}

std::string SimChild::outSoFar() const { return readFile(capture_ / "out"); }

void SimChild::signal(int number) const { kill(child_, number); }

SimOutcome SimChild::wait() {
  int wstatus = 0;
  while (waitpid(child_, &wstatus, 0) < 0) {
  }
  child_ = -1;
  SimOutcome outcome;
  outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  outcome.out = readFile(capture_ / "out");
  outcome.err = readFile(capture_ / "err");
  return outcome;
}

ScratchDirectory::ScratchDirectory() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("mtd-cli-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDirectory::writeConfiguration(const std::string& text) const {
  std::ofstream(path_ / "init.txt", std::ios::binary) << text;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string defaultConfigurationWith(int lineNumber, const std::string& line) {
  std::vector<std::string> lines = {
      "nbl=1000",
      "kst=7",
      "p=0.06",
      "ndn=11 word",
      "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,"
      "824,856,899,922}",
      "ktrh={10,2,1,0,0,0,0,0,0,0,0,0}",
      "maxBlock=2000",
      "ddn=22",
      "check"};
  lines.at(static_cast<std::size_t>(lineNumber - 1)) = line;
  std::string text;
  for (const std::string& l : lines) text += l + "\n";
  return text;
}

}  // namespace mtd::testing
