// init.txt files a user may have by accident: too large, not a file at all, or without the
// closing "check" line. None of them may hang mtd-sim.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>

#include "SimProcess.h"
#include "TranscriptParsing.h"

namespace mtd::testing {
namespace {

bool mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(UnusualInitFile, AFileOver16MiBIsRefusedWithAMessageNamingIt) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(2, "kst=9"));
  std::filesystem::resize_file(dir.path() / "init.txt", (std::uintmax_t{16} << 20) + 1);
  const SimOutcome run = runSim({}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(mentions(run.err, "init.txt: larger than 16 MiB")) << run.err;
}

TEST(UnusualInitFile, AFifoRunsOnTheDefaultsAndSaysWhy) {
  const ScratchDirectory dir;
  ASSERT_EQ(::mkfifo((dir.path() / "init.txt").c_str(), 0600), 0) << std::strerror(errno);
  const SimOutcome run = runSim({}, dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "mtd-sim: init.txt: is a FIFO (named pipe), not a regular file; defaults used\n");
  const Transcript t = parseTranscript(run.out);
  EXPECT_TRUE(t.wellFormed);
  EXPECT_EQ(t.shownBlocks, 359);
}

TEST(UnusualInitFile, AFileWithoutTheCheckLineIsNamedButStillRuns) {
  const ScratchDirectory dir;
  std::string text = defaultConfigurationWith(7, "maxBlock=3");
  dir.writeConfiguration(text.substr(0, text.find("check")));
  const SimOutcome run = runSim({}, dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "mtd-sim: init.txt: no closing \"check\" line; defaults used\n");
  EXPECT_TRUE(mentions(run.out, "TRIALS=3\n"));

  // "check" with something after it is no marker either; a marked file says nothing.
  dir.writeConfiguration(text.replace(text.find("check"), 5, "checked"));
  EXPECT_TRUE(mentions(runSim({}, dir.path()).err, "no closing \"check\" line"));
  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=3"));
  EXPECT_EQ(runSim({}, dir.path()).err, "");
}

}  // namespace
}  // namespace mtd::testing
