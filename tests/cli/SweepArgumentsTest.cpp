#include <gtest/gtest.h>

#include <cmath>
#include <variant>

#include "SimProcess.h"
#include "cli/CommandLine.h"
#include "cli/ProbabilityList.h"

namespace mtd::testing {
namespace {

std::vector<double> pointsOf(std::string_view list) {
  auto parsed = cli::parseProbabilityList(list);
  if (auto* error = std::get_if<std::string>(&parsed)) ADD_FAILURE() << list << ": " << *error;
  return std::get<std::vector<double>>(parsed);
}

TEST(ProbabilityList, RangesIncludeBothEndsWhateverTheRounding) {
  const std::vector<double> seven = pointsOf("0.02:0.08:0.01");
  ASSERT_EQ(seven.size(), 7u);
  for (std::size_t i = 0; i < seven.size(); ++i) {
    // Each point is the double nearest its decimal, not 0.02 + i*0.01 with its binary error.
    EXPECT_EQ(seven[i], std::stod("0.0" + std::to_string(2 + i))) << i;
  }
  // Steps whose quotient lands a hair below or above a whole number.
  EXPECT_EQ(pointsOf("0.1:0.3:0.1").size(), 3u);
  EXPECT_EQ(pointsOf("0:1:0.1").size(), 11u);
  EXPECT_EQ(pointsOf("0.001:0.01:0.001").size(), 10u);
  EXPECT_EQ(pointsOf("0.02:0.10:0.01").back(), 0.1);
  // A step that does not divide the range stops before TO; a range of one value is one point.
  EXPECT_EQ(pointsOf("0.02:0.05:0.02"), (std::vector<double>{0.02, 0.04}));
  EXPECT_EQ(pointsOf("0.05:0.05:0.01"), (std::vector<double>{0.05}));
  EXPECT_EQ(pointsOf("0.06,0.01:0.03:0.01,1e-3,0,1"),
            (std::vector<double>{0.06, 0.01, 0.02, 0.03, 0.001, 0, 1}));
}

TEST(ProbabilityList, RefusesWhatIsNoProbabilityList) {
  for (const char* bad : {"", "1.5", "-0.1", "0.08:0.02:0.01", "0.02:0.08:0", "0.02:0.08:-0.01",
                          "abc", "0.1,,0.2", "0.1,", "nan", "inf", "0.02:0.08", "0.1:0.2:0.1:0.3",
                          "0.02:x:0.01", "0x0.1", "0.1 ", "0:1:1e-9"}) {
    EXPECT_TRUE(std::holds_alternative<std::string>(cli::parseProbabilityList(bad))) << bad;
  }
}

std::optional<cli::CommandLine> parse(std::vector<std::string_view> arguments) {
  return cli::parseCommandLine(arguments).commandLine;
}

TEST(SweepCommandLine, ReadsEveryOptionAndTheDefaults) {
  const auto defaults = parse({"sweep"});
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->mode, cli::Mode::Sweep);
  EXPECT_TRUE(defaults->sweep.p.empty());
  EXPECT_EQ(defaults->sweep.frames, 1'000'000);
  EXPECT_EQ(defaults->sweep.frameErrors, 100);
  EXPECT_FALSE(defaults->sweep.maxSeconds);
  EXPECT_EQ(defaults->sweep.seed, 1u);
  EXPECT_GE(defaults->sweep.threads, 1);
  EXPECT_EQ(defaults->sweep.noise, cli::SweepNoise::Sound);

  const auto all = parse({"-C",
                          "d",
                          "sweep",
                          "--p",
                          "0.05",
                          "--frames",
                          "1e6",
                          "--frame-errors",
                          "0",
                          "--max-seconds",
                          "2.5",
                          "--seed",
                          "9",
                          "--threads",
                          "3",
                          "--noise",
                          "demo",
                          "--csv",
                          "a.csv",
                          "--plot",
                          "a.SVG",
                          "--keep-failures",
                          "4",
                          "k.txt",
                          "--trace-frame=7:12"});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->directories.front(), std::filesystem::path("d"));
  EXPECT_EQ(all->sweep.p, std::vector<double>{0.05});
  EXPECT_EQ(all->sweep.frames, 1'000'000);
  EXPECT_EQ(all->sweep.frameErrors, 0);
  EXPECT_EQ(all->sweep.maxSeconds, 2.5);
  EXPECT_EQ(all->sweep.seed, 9u);
  EXPECT_EQ(all->sweep.threads, 3);
  EXPECT_EQ(all->sweep.noise, cli::SweepNoise::Demo);
  EXPECT_EQ(all->sweep.csv, std::filesystem::path("a.csv"));
  EXPECT_EQ(all->sweep.plot.file, std::filesystem::path("a.SVG"));
  ASSERT_TRUE(all->sweep.keepFailures);
  EXPECT_EQ(all->sweep.keepFailures->perPoint, 4);
  EXPECT_EQ(all->sweep.keepFailures->file, std::filesystem::path("k.txt"));
  ASSERT_TRUE(all->sweep.traceFrame);
  EXPECT_EQ(all->sweep.traceFrame->point, 7);
  EXPECT_EQ(all->sweep.traceFrame->frame, 12);
  // -C after the subcommand word works as before it.
  EXPECT_EQ(parse({"sweep", "-C", "e"})->directories.front(), std::filesystem::path("e"));
}

// Several codes in the order written, on either side of the word sweep; the limits at their
// ends are accepted; code values and the other new options are read.
TEST(SweepCommandLine, ReadsSeveralCodesLimitsAndNewOptions) {
  const auto codes = parse({"-C", "a", "sweep", "-C", "b", "-C", "c"});
  ASSERT_TRUE(codes);
  EXPECT_EQ(codes->directories, (std::vector<std::filesystem::path>{"a", "b", "c"}));
  EXPECT_FALSE(parse({"-C", "a", "-C", "b"})) << "only a sweep compares codes";

  const auto limits = parse({"sweep", "--frames", "1e15", "--seed", "18446744073709551615",
                             "--trace-frame", "999999999999999", "--frame-errors", "1e15"});
  ASSERT_TRUE(limits);
  EXPECT_EQ(limits->sweep.frames, 1'000'000'000'000'000);
  EXPECT_EQ(limits->sweep.seed, 18446744073709551615u);
  EXPECT_EQ(limits->sweep.traceFrame->frame, 999'999'999'999'999);

  const auto more = parse({"sweep", "--json", "j.json", "--plot", "c.PDF", "--plot-size", "640x480",
                           "--plot-p-range", "0:0.1", "--plot-rate-range", "1e-9:1", "--defaults",
                           "--set", "nbl=2000", "--set", "ndn=9"});
  ASSERT_TRUE(more);
  EXPECT_EQ(more->sweep.json, std::filesystem::path("j.json"));
  EXPECT_EQ(more->sweep.plot.width, 640);
  EXPECT_EQ(more->sweep.plot.height, 480);
  EXPECT_EQ(more->sweep.plot.pRange->high, 0.1);
  EXPECT_EQ(more->sweep.plot.rateRange->low, 1e-9);
  EXPECT_TRUE(more->sweep.defaultsAllowed);
  ASSERT_EQ(more->sweep.overrides.size(), 2u);
  EXPECT_EQ(more->sweep.overrides[0].text(), "nbl=2000");
  EXPECT_EQ(more->sweep.overrides[1].text(), "ndn=9 word");  // the word the file needs
  EXPECT_FALSE(parse({"sweep", "--set", "colour=red"}));
}

// Each kind of bad input: status 2, a message naming the argument, nothing on stdout and no file
// left in the directory, though the outputs were asked for in it.
TEST(SweepCommandLine, BinaryRefusesBadInputAndWritesNoFile) {
  const ScratchDirectory dir;
  const std::vector<std::vector<std::string>> outputs = {
      {"--csv", "c.csv"}, {"--plot", "c.png"}, {"--keep-failures", "2", "k.txt"}};
  struct Case {
    std::vector<std::string> arguments;
    const char* named;
  };
  const std::vector<Case> cases = {
      {{"--p", "1.5"}, "--p"},
      {{"--p", "-0.01"}, "--p"},
      {{"--p", "0.08:0.02:0.01"}, "--p"},
      {{"--p", "0.02:0.08:0"}, "--p"},
      {{"--p", "0.02:0.08:-0.01"}, "--p"},
      {{"--p", "0.1,,0.2"}, "--p"},
      {{"--p", "five"}, "--p"},
      {{"--frames", "0"}, "--frames"},
      {{"--frames", "ten"}, "--frames"},
      {{"--frames", "-5"}, "--frames"},
      {{"--threads", "0"}, "--threads"},
      {{"--threads", "2.5"}, "--threads"},
      {{"--frame-errors", "x"}, "--frame-errors"},
      {{"--max-seconds", "0"}, "--max-seconds"},
      {{"--max-seconds", "soon"}, "--max-seconds"},
      {{"--seed", "-1"}, "--seed"},
      {{"--noise", "loud"}, "--noise"},
      {{"--plot", "c.gif"}, "--plot"},
      // Limits stated in --help: 1e15 frames keep every count within 64 bits; beyond, a
      // count near 2^63 once made the batch count overflow and the sweep run for ever.
      {{"--frames", "9223372036854775807"}, "--frames"},
      {{"--frames", "1000000000000001"}, "--frames"},
      {{"--frame-errors", "1e16"}, "--frame-errors"},
      {{"--trace-frame", "9223372036854775807"}, "--trace-frame"},
      {{"--seed", "18446744073709551616"}, "--seed"},
      {{"--keep-failures", "1000001", "k.txt"}, "--keep-failures"},
      {{"--max-seconds", "1e10"}, "--max-seconds"},
      {{"--plot-size", "50x50"}, "--plot-size"},
      {{"--plot-rate-range", "0:1"}, "--plot-rate-range"},
      {{"--plot-p-range", "0.1:0.05"}, "--plot-p-range"},
      // Two outputs into one file: one of them would be lost.
      {{"--json", "c.csv"}, "--json"},
      {{"--json", "c.png"}, "--plot c.png"},
      {{"--csv", "missing/c.csv"}, "--csv"},
      {{"--plot", "missing/c.png"}, "--plot"},
      {{"--keep-failures", "2", "missing/k.txt"}, "--keep-failures"},
      {{"--csv", "."}, "--csv"},
      {{"--bogus"}, "--bogus"},
      {{"--trial", "3"}, "--trial"},
      {{"-C", "missing"}, "-C"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"sweep"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    // Valid outputs after the bad argument, so that a refusal after making them would show; a
    // case about an output takes that output's place.
    for (const std::vector<std::string>& output : outputs) {
      if (output[0] != c.named) arguments.insert(arguments.end(), output.begin(), output.end());
    }
    const SimOutcome run = runSim(arguments, dir.path());
    SCOPED_TRACE(c.arguments[0] + " " + (c.arguments.size() > 1 ? c.arguments[1] : ""));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("mtd-sim: ")) << run.err;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      left.push_back(entry.path().filename().string());
      std::filesystem::remove_all(entry.path());
    }
    EXPECT_TRUE(left.empty()) << left.front();
  }
}

TEST(SweepCommandLine, RefusedConfigurationStopsTheSweepBeforeAnyFile) {
  const ScratchDirectory dir;
  dir.writeConfiguration(defaultConfigurationWith(1, "nbl=5000"));
  const SimOutcome run = runSim({"sweep", "--csv", "c.csv", "--plot", "c.png"}, dir.path());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("nbl=5000"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "c.csv"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "c.png"));
}

TEST(SweepCommandLine, HelpAndVersion) {
  const ScratchDirectory dir;
  const SimOutcome help = runSim({"sweep", "--help"}, dir.path());
  EXPECT_EQ(help.status, 0);
  for (const char* option :
       {"--p", "--frames", "--frame-errors", "--max-seconds", "--seed", "--threads", "--noise",
        "--csv", "--plot", "--keep-failures", "--trace-frame", "-C"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const SimOutcome version = runSim({"--version"}, dir.path());
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("mtd-sim ")) << version.out;
  EXPECT_EQ(version.out.find_first_not_of("0123456789.\n", 8), std::string::npos) << version.out;
}

}  // namespace
}  // namespace mtd::testing
