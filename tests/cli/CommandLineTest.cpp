#include <gtest/gtest.h>

#include <regex>

#include "ProjectVersion.h"
#include "SimProcess.h"
#include "cli/CommandLine.h"

namespace mtd::testing {
namespace {

using cli::Mode;

std::optional<cli::CommandLine> parse(std::vector<std::string_view> arguments) {
  return cli::parseCommandLine(arguments).commandLine;
}

TEST(CommandLine, ReadsModesAndValues) {
  const auto none = parse({});
  ASSERT_TRUE(none);
  EXPECT_EQ(none->mode, Mode::Transcript);
  EXPECT_EQ(none->directories.front(), std::filesystem::path("."));

  const auto trace = parse({"-C", "some dir", "--trial", "17"});
  ASSERT_TRUE(trace);
  EXPECT_EQ(trace->mode, Mode::TrialTrace);
  EXPECT_EQ(trace->directories.front(), std::filesystem::path("some dir"));
  EXPECT_EQ(trace->trial, 17);

  const auto joined = parse({"--trial=+5"});
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->trial, 5);
  // A negative number is well formed; the run decides that it has no such trial.
  ASSERT_TRUE(parse({"--trial", "-3"}));
  EXPECT_EQ(parse({"--trial", "-3"})->trial, -3);

  EXPECT_EQ(parse({"--trial", "3", "--help"})->mode, Mode::Help);
  EXPECT_EQ(parse({"-h"})->mode, Mode::Help);
}

TEST(CommandLine, RefusesMalformedArguments) {
  const std::vector<std::vector<std::string_view>> bad = {{"--bogus"},
                                                          {"-C"},
                                                          {"-C", ""},
                                                          {"--trial"},
                                                          {"--trial", "x"},
                                                          {"--trial", ""},
                                                          {"--trial", "12x"},
                                                          {"--trial=1.5"},
                                                          {"--trial", "1e3"},
                                                          {"--trial", "99999999999"},
                                                          {"--trial", "1", "--trial", "2"},
                                                          {"-C", "a", "-C", "b"},
                                                          {"extra"}};
  for (const auto& arguments : bad) {
    const cli::ParsedCommandLine parsed = cli::parseCommandLine(arguments);
    EXPECT_FALSE(parsed.commandLine) << arguments[0];
    EXPECT_FALSE(parsed.error.empty()) << arguments[0];
  }
}

// Wrong arguments stop the program before it reads or runs anything.
TEST(CommandLine, BinaryRefusesWrongArgumentsWithStatus2) {
  const ScratchDirectory dir;
  const std::string missing = (dir.path() / "missing").string();
  dir.writeConfiguration("");  // so that -C at a file names a file that exists
  const std::string file = (dir.path() / "init.txt").string();
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},       {"-C"},
      {"-C", missing},   {"-C", file},
      {"--trial"},       {"--trial", "x"},
      {"--trial", "7y"}, {"--trial", "1", "--trial", "2"},
      {"--trial", "-1"}, {"--trial", "2000"}};
  for (const auto& arguments : cases) {
    const SimOutcome run = runSim(arguments, dir.path());
    SCOPED_TRACE(arguments[0] + (arguments.size() > 1 ? " " + arguments[1] : ""));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("mtd-sim: ")) << run.err;
  }
  const SimOutcome beyond = runSim({"--trial", "2000"}, dir.path());
  EXPECT_NE(beyond.err.find("0 to 1999"), std::string::npos) << beyond.err;
}

TEST(CommandLine, HelpExplainsBothModesAndTheOptions) {
  const ScratchDirectory dir;
  const SimOutcome run = runSim({"--help"}, dir.path());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  for (const char* word : {"--trial N", "-C DIR", "--help", "init.txt", "SHOWN BLOCK", "TRIALS="}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
}

TEST(CommandLine, VersionComesFromTheProjectAndRunsNothing) {
  EXPECT_EQ(parse({"--version"})->mode, Mode::Version);
  EXPECT_EQ(parse({"--trial", "3", "--version"})->mode, Mode::Version);
  EXPECT_EQ(parse({"--version", "-h"})->mode, Mode::Help);
  EXPECT_FALSE(parse({"--version", "--bogus"}));

  // The configured header holds a real x.y.z version, not the template's placeholder.
  EXPECT_TRUE(std::regex_match(PROJECT_VERSION_TEXT, std::regex(R"([0-9]+\.[0-9]+\.[0-9]+)")))
      << PROJECT_VERSION_TEXT;
  // Neither the directory nor a refused init.txt stops --version.
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(1, "nbl=5000"));
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--version"},
        std::vector<std::string>{"-C", (dir.path() / "missing").string(), "--version"}}) {
    const SimOutcome run = runSim(arguments, dir.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("mtd-sim ") + PROJECT_VERSION_TEXT + "\n");
    EXPECT_EQ(run.err, "");
  }
}

TEST(CommandLine, RefusedConfigurationStopsBeforeRunning) {
  struct Case {
    int line;
    const char* text;
    const char* mentions;
  };
  for (const Case& c :
       {Case{1, "nbl=5000", "nbl=5000"}, Case{6, "ktrh={11,2,1,0,0,0,0,0,0,0,0,0}", "ktrh[0]=11"},
        Case{8, "ddn=40", "ddn=40"}}) {
    const ScratchDirectory dir;
    dir.writeConfiguration(defaultConfigurationWith(c.line, c.text));
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"--trial", "0"}}) {
      const SimOutcome run = runSim(arguments, dir.path());
      SCOPED_TRACE(std::string(c.text) + (arguments.empty() ? "" : " --trial 0"));
      EXPECT_EQ(run.status, 2);
      EXPECT_EQ(run.out, "");
      EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
      EXPECT_NE(run.err.find("not run"), std::string::npos) << run.err;
    }
  }
}

TEST(CommandLine, TrialOutsideAShortRun) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=50"));
  EXPECT_EQ(runSim({"--trial", "49"}, dir.path()).status, 0);
  const SimOutcome beyond = runSim({"--trial", "50"}, dir.path());
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.err.find("0 to 49"), std::string::npos) << beyond.err;

  dir.writeConfiguration(defaultConfigurationWith(7, "maxBlock=0"));
  const SimOutcome empty = runSim({"--trial", "0"}, dir.path());
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("no trials"), std::string::npos) << empty.err;
}

}  // namespace
}  // namespace mtd::testing
