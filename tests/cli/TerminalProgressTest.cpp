// mtd-sim's progress on stderr in long silent stretches: only on a terminal, and never a
// byte of difference in the transcript.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "SimProcess.h"
#include "cli/run/TerminalProgress.h"
#include "cli/run/Transcript.h"

namespace mtd::testing {
namespace {

std::string contentsOf(std::FILE* file) {
  std::fflush(file);
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text.push_back(static_cast<char>(c));
  return text;
}

TEST(TerminalProgress, OnlyATerminalGetsProgress) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(cli::TerminalProgress::forTerminal(file), nullptr);
  std::fclose(file);

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  std::FILE* terminal = std::fopen(::ptsname(master), "w");
  ASSERT_NE(terminal, nullptr);
  EXPECT_NE(cli::TerminalProgress::forTerminal(terminal), nullptr);
  std::fclose(terminal);
  ::close(master);
}

// The default run with a clock that moves 10 ms at every reading: the progress of its silent
// stretches goes to the progress stream, and the transcript is that of a run without it.
TEST(TerminalProgress, ProgressLinesLeaveTheTranscriptAsItIs) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(3, "p=0.07"));
  const cli::ConfigurationSnapshot configuration(dir.path());

  std::FILE* plain = std::tmpfile();
  auto sim = std::make_unique<Simulation>();
  cli::writeTranscript(*sim, configuration, plain);

  std::FILE* transcript = std::tmpfile();
  std::FILE* terminal = std::tmpfile();
  std::int64_t clock = 0;
  cli::TerminalProgress progress(terminal, [&clock] { return clock += 10; });
  sim = std::make_unique<Simulation>();
  cli::writeTranscript(*sim, configuration, transcript, &progress);

  const std::string expected = contentsOf(plain);
  ASSERT_NE(expected.find("SHOWN BLOCKS="), std::string::npos);
  EXPECT_EQ(contentsOf(transcript), expected);
  const std::string shown = contentsOf(terminal);
  EXPECT_NE(shown.find("\rmtd-sim: TRIAL="), std::string::npos);
  EXPECT_NE(shown.find(" OF 2000"), std::string::npos);
  // Blanked at the end: the last thing written is a carriage return after blanks only.
  const std::size_t lastText = shown.find_last_not_of(" \r");
  const std::size_t lastReturn = shown.rfind('\r', shown.size() - 2);
  EXPECT_LT(lastText, lastReturn);
  EXPECT_EQ(shown.back(), '\r');
  for (std::FILE* f : {plain, transcript, terminal}) std::fclose(f);
}

}  // namespace
}  // namespace mtd::testing
