// Reading init.txt from a directory: only a regular file within the size bound is read, and
// nothing that can be named init.txt makes the load wait or grow without end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "SimulationFixtures.h"

namespace mtd {
namespace {

namespace fs = std::filesystem;

const char* const DEFAULT_FILE =
    "nbl=1000\nkst=7\np=0.06\nndn=11 word\n"
    "kfp={22,0,24,75,110,151,183,257,411,426,496,522,543,579,648,689,714,733,789,796,814,824,"
    "856,899,922}\n"
    "ktrh={10,2,1,0,0,0,0,0,0,0,0,0}\nmaxBlock=2000\nddn=22\ncheck\n";

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("mtd-config-file-" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  fs::path file() const { return path_ / CONFIG_FILE_NAME; }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A configuration of other values than the defaults, so that a load that takes the file is
// told from one that takes the defaults.
Simulation& simulationWithOtherValues(Simulation& sim) {
  loadConfigurationText(sim, std::string(DEFAULT_FILE).replace(0, 8, "nbl=1500"));
  EXPECT_EQ(sim.params.nbl, 1500);
  return sim;
}

// Loads the directory's init.txt on a thread. A load stuck in open() on a FIFO is set free by
// opening the FIFO for writing, so that a regression fails instead of hanging the tests.
LoadResult loadWithin(Simulation& sim, const fs::path& directory, bool& finishedInTime) {
  std::atomic<bool> done{false};
  LoadResult result;
  std::thread loader([&] {
    result = loadConfiguration(sim, directory);
    done = true;
  });
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  finishedInTime = done;
  if (!done) {
    const int writer = ::open((directory / CONFIG_FILE_NAME).c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
  }
  loader.join();
  return result;
}

void expectTheDefaults(const Simulation& sim) {
  EXPECT_EQ(sim.params.nbl, 1000);
  EXPECT_EQ(sim.params.stepsPerBit, 6);
  EXPECT_EQ(sim.params.codeDistance, 23);
}

TEST(ConfigurationFile, AFileBeyondTheBoundIsRefusedUnreadAndOneAtTheBoundIsRead) {
  const ScratchDirectory dir;
  { std::ofstream(dir.file(), std::ios::binary) << DEFAULT_FILE; }
  // Zeros after the marker line are never scanned: at the bound the file is still taken.
  fs::resize_file(dir.file(), MAX_CONFIG_FILE_BYTES);
  Simulation sim;
  LoadResult r = loadConfiguration(sim, dir.path());
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.rejection, "");

  fs::resize_file(dir.file(), MAX_CONFIG_FILE_BYTES + 1);
  simulationWithOtherValues(sim);
  r = loadConfiguration(sim, dir.path());
  EXPECT_TRUE(r.fileFound);
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.rejection,
            "init.txt: larger than 16 MiB, too large for a configuration file; defaults used");
  expectTheDefaults(sim);

  // 100 MB, as a user might drop a log file there by mistake.
  fs::resize_file(dir.file(), 100'000'000);
  r = loadConfiguration(sim, dir.path());
  EXPECT_FALSE(r.accepted);
  EXPECT_NE(r.rejection.find("init.txt"), std::string::npos);
}

TEST(ConfigurationFile, AFifoWithoutAWriterGivesTheDefaultsWithAMessageAtOnce) {
  const ScratchDirectory dir;
  ASSERT_EQ(::mkfifo(dir.file().c_str(), 0600), 0) << std::strerror(errno);
  Simulation sim;
  simulationWithOtherValues(sim);
  bool finishedInTime = false;
  const LoadResult r = loadWithin(sim, dir.path(), finishedInTime);
  EXPECT_TRUE(finishedInTime) << "the load waited for a writer of the FIFO";
  EXPECT_FALSE(r.fileFound);
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.rejection, "");
  EXPECT_EQ(r.unreadable, "init.txt: is a FIFO (named pipe), not a regular file; defaults used");
  expectTheDefaults(sim);
}

TEST(ConfigurationFile, DevicesDirectoriesAndSocketsAreNotRead) {
  struct Case {
    const char* kind;
    std::function<void(const fs::path&)> make;
  };
  const Case cases[] = {
      {"a character device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); }},
      {"a directory", [](const fs::path& f) { fs::create_directory(f); }},
      {"a socket",
       [](const fs::path& f) {
         const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strncpy(address.sun_path, f.c_str(), sizeof address.sun_path - 1);
         ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
         ::close(s);
       }},
  };
  for (const Case& c : cases) {
    const ScratchDirectory dir;
    c.make(dir.file());
    Simulation sim;
    simulationWithOtherValues(sim);
    bool finishedInTime = false;
    const LoadResult r = loadWithin(sim, dir.path(), finishedInTime);
    EXPECT_TRUE(finishedInTime) << c.kind;
    EXPECT_FALSE(r.accepted) << c.kind;
    EXPECT_EQ(r.unreadable,
              std::string("init.txt: is ") + c.kind + ", not a regular file; defaults used");
    expectTheDefaults(sim);
  }
}

TEST(ConfigurationFile, AMissingFileGivesTheDefaultsWithoutAWord) {
  const ScratchDirectory dir;
  Simulation sim;
  simulationWithOtherValues(sim);
  const LoadResult r = loadConfiguration(sim, dir.path());
  EXPECT_FALSE(r.fileFound);
  EXPECT_EQ(r.unreadable, "");
  EXPECT_EQ(r.rejection, "");
  expectTheDefaults(sim);
}

TEST(ConfigurationFile, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
  Simulation sim;
  const std::string withSeed5 = std::string(DEFAULT_FILE).replace(9, 5, "kst=5");
  const LoadResult r = loadConfigurationText(sim, "\xEF\xBB\xBF" + withSeed5);
  EXPECT_TRUE(r.accepted);
  // Without the skip the nbl scan fails, and nbl is raised from 0 to kfp[22] = 856.
  EXPECT_EQ(sim.params.nbl, 1000);
  EXPECT_EQ(sim.params.decodeCursor, 31);
  EXPECT_EQ(sim.params.kst, 5);

  // Only at the start: the same bytes before another line still break that line's scan.
  const LoadResult later =
      loadConfigurationText(sim, std::string(DEFAULT_FILE).replace(9, 0, "\xEF\xBB\xBF"));
  EXPECT_TRUE(later.accepted);
  EXPECT_EQ(sim.params.kst, 5);  // kept from the previous load: the seed 7 was not read
}

}  // namespace
}  // namespace mtd
