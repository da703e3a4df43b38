// Writing init.txt from the settings dialog: the old file kept as init.txt.bak, nothing lost
// or half-written when the directory or the names refuse, nothing but a regular file replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "core/Configuration.h"
#include "core/ConfigurationWriter.h"
#include "core/SettingsForm.h"
#include "core/Simulation.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace mtd {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class ConfigurationWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("mtd-writer-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, ignored);
    fs::remove_all(dir_, ignored);
  }
  // The names in the directory, sorted: no temporary file may be left behind.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  fs::path dir_;
  const std::string oldText_ = "nbl=500\nkst=1\n";
  const std::string newText_ = "nbl=700\nkst=2\np=0.05\n";
};

TEST_F(ConfigurationWriter, AFirstFileIsWrittenWithNoBackup) {
  EXPECT_EQ(writeConfigurationFile(dir_, newText_), std::nullopt);
  EXPECT_EQ(readFile(dir_ / "init.txt"), newText_);
  EXPECT_EQ(names(), std::vector<std::string>{"init.txt"});
}

TEST_F(ConfigurationWriter, TheOldFileIsKeptAsBakAndTheWrittenOneLoads) {
  writeFile(dir_ / "init.txt", oldText_);
  writeFile(dir_ / "init.txt.bak", "an older backup\n");
  Simulation sim;
  loadConfigurationText(sim, std::nullopt);
  sim.params.kst = 99;
  const std::string text = configurationText(sim.params);
  ASSERT_EQ(writeConfigurationFile(dir_, text), std::nullopt);
  EXPECT_EQ(readFile(dir_ / "init.txt"), text);
  EXPECT_EQ(readFile(dir_ / "init.txt.bak"), oldText_);
  EXPECT_EQ(names(), (std::vector<std::string>{"init.txt", "init.txt.bak"}));
  Simulation loaded;
  EXPECT_TRUE(loadConfiguration(loaded, dir_).accepted);
  EXPECT_EQ(loaded.params.kst, 99);
}

TEST_F(ConfigurationWriter, ADirectoryNamedInitTxtIsNeverReplaced) {
  fs::create_directory(dir_ / "init.txt");
  const auto problem = writeConfigurationFile(dir_, newText_);
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(problem->find("init.txt was not written: init.txt is not a regular file"),
            std::string::npos)
      << *problem;
  EXPECT_TRUE(fs::is_directory(dir_ / "init.txt"));
  EXPECT_EQ(names(), std::vector<std::string>{"init.txt"});
}

TEST_F(ConfigurationWriter, ALinkNamedInitTxtIsNeverReplaced) {
  writeFile(dir_ / "elsewhere.txt", oldText_);
  std::error_code error;
  fs::create_symlink(dir_ / "elsewhere.txt", dir_ / "init.txt", error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  ASSERT_TRUE(writeConfigurationFile(dir_, newText_).has_value());
  EXPECT_TRUE(fs::is_symlink(dir_ / "init.txt"));
  EXPECT_EQ(readFile(dir_ / "elsewhere.txt"), oldText_);
}

TEST_F(ConfigurationWriter, WithoutRoomForTheBackupTheOldFileStaysUntouched) {
  writeFile(dir_ / "init.txt", oldText_);
  fs::create_directory(dir_ / "init.txt.bak");
  const auto problem = writeConfigurationFile(dir_, newText_);
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(problem->find("no copy of the old file could be kept"), std::string::npos) << *problem;
  EXPECT_EQ(readFile(dir_ / "init.txt"), oldText_);
  EXPECT_EQ(names(), (std::vector<std::string>{"init.txt", "init.txt.bak"}));
}

TEST_F(ConfigurationWriter, AMissingDirectoryGivesAMessage) {
  const auto problem = writeConfigurationFile(dir_ / "gone", newText_);
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->rfind("init.txt was not written: ", 0), 0u) << *problem;
  EXPECT_TRUE(names().empty());
}

#ifndef _WIN32
// The write as a user who may not write into the directory: root writes anywhere, so as root
// the write runs in a child process that has become "nobody" first.
std::optional<std::string> writeAsOtherUser(const fs::path& dir, const std::string& text) {
  if (::geteuid() != 0) return writeConfigurationFile(dir, text);
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t NOBODY = 65534;
    if (::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0) ::_exit(3);
    const auto problem = writeConfigurationFile(dir, text);
    ::_exit(!problem ? 1 : problem->find("Permission denied") != std::string::npos ? 0 : 2);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return std::nullopt;
  switch (WEXITSTATUS(status)) {
    case 0:
      return "Permission denied";
    case 2:
      return "another message";
    case 3:
      return "the child could not become nobody";
    default:
      return std::nullopt;
  }
}
#endif

TEST_F(ConfigurationWriter, AnUnwritableDirectoryGivesAMessageAndKeepsTheOldFile) {
#ifdef _WIN32
  GTEST_SKIP() << "directory permissions are POSIX's";
#else
  writeFile(dir_ / "init.txt", oldText_);
  fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  if (::geteuid() != 0) fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  const auto problem = writeAsOtherUser(dir_, newText_);
  fs::permissions(dir_, fs::perms::owner_all);
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(problem->find("Permission denied"), std::string::npos) << *problem;
  EXPECT_EQ(readFile(dir_ / "init.txt"), oldText_);
  EXPECT_EQ(names(), std::vector<std::string>{"init.txt"});
#endif
}

}  // namespace
}  // namespace mtd
