#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "SimProcess.h"
#include "cli/sweep/ChannelCapacity.h"

namespace mtd::testing {
namespace {

constexpr const char* CSV_COLUMNS =
    "config,p,effective_p,frames,frame_errors,info_bits,channel_info_errors,decoded_info_errors,"
    "channel_ber,ber,ber_low,ber_high,fer,fer_low,fer_high,mean_iterations,seconds,info_mbps,"
    "complete,stopped_by,thin";

std::string fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

using CsvRow = std::map<std::string, std::string>;

struct Csv {
  std::string heading;
  std::vector<CsvRow> rows;
  std::vector<std::string> lines;  // the rows as written
};

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> result;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) result.push_back(field);
  return result;
}

// The settings come first as comment lines, then the column names and the rows.
Csv readCsv(const std::filesystem::path& path) {
  Csv csv;
  std::vector<std::string> lines;
  for (const std::string& line : linesOf(fileText(path))) {
    if (!line.starts_with("#")) lines.push_back(line);
  }
  if (lines.empty()) return csv;
  csv.heading = lines[0];
  const std::vector<std::string> names = fields(lines[0]);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> values = fields(lines[i]);
    EXPECT_EQ(values.size(), names.size()) << lines[i];
    CsvRow row;
    for (std::size_t j = 0; j < names.size() && j < values.size(); ++j) row[names[j]] = values[j];
    csv.rows.push_back(row);
    csv.lines.push_back(lines[i]);
  }
  return csv;
}

long long count(const CsvRow& row, const char* column) { return std::stoll(row.at(column)); }
double real(const CsvRow& row, const char* column) { return std::stod(row.at(column)); }

void expectRatio(const CsvRow& row, const char* column, const char* part, const char* whole) {
  const double expected =
      static_cast<double>(count(row, part)) / static_cast<double>(count(row, whole));
  EXPECT_NEAR(real(row, column), expected, 1e-9 * expected + 1e-300) << column;
}

// The default code: rate 1/2, nbl = 1000 information bits, 10 iterations.
TEST(SweepOutput, CsvColumnsAndTheirArithmetic) {
  const ScratchDirectory dir;
  const SimOutcome run =
      runSim({"sweep", "--p", "0.03:0.06:0.01", "--frames", "20000", "--csv", "c.csv"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const Csv csv = readCsv(dir.path() / "c.csv");
  EXPECT_EQ(csv.heading, CSV_COLUMNS);
  ASSERT_EQ(csv.rows.size(), 4u);
  for (std::size_t i = 0; i < csv.rows.size(); ++i) {
    const CsvRow& row = csv.rows[i];
    SCOPED_TRACE(csv.lines[i]);
    const double p = 0.03 + 0.01 * static_cast<double>(i);
    EXPECT_NEAR(real(row, "p"), p, 1e-12);
    EXPECT_EQ(row.at("effective_p"), row.at("p"));  // sound noise uses p as given
    EXPECT_EQ(count(row, "info_bits"), 1000 * count(row, "frames"));
    expectRatio(row, "ber", "decoded_info_errors", "info_bits");
    expectRatio(row, "channel_ber", "channel_info_errors", "info_bits");
    expectRatio(row, "fer", "frame_errors", "frames");
    // Binomial: the channel's information errors lie within 5 sigma of p per bit.
    const double bits = real(row, "info_bits");
    EXPECT_NEAR(real(row, "channel_info_errors"), p * bits, 5 * std::sqrt(bits * p * (1 - p)));
    // A frame in error holds at least one decoded error; a point ends at the first batch end
    // (1024 frames) where 100 frame errors are reached, or at the frame limit.
    EXPECT_LE(count(row, "frame_errors"), count(row, "decoded_info_errors"));
    const long long frames = count(row, "frames");
    EXPECT_TRUE(frames == 20000 || (frames % 1024 == 0 && count(row, "frame_errors") >= 100));
    EXPECT_GT(real(row, "mean_iterations"), 0);
    EXPECT_LE(real(row, "mean_iterations"), 10);
    EXPECT_GT(real(row, "info_mbps"), 0);
    EXPECT_EQ(row.at("complete"), "1");
  }
  // The decoder helps less as p grows.
  EXPECT_LT(real(csv.rows[0], "ber"), real(csv.rows[3], "ber"));
  // stdout's table has a row per point, after the header's comment lines.
  std::size_t tableRows = 0;
  for (const std::string& line : linesOf(run.out)) tableRows += line.starts_with("#") ? 0 : 1;
  EXPECT_EQ(tableRows, 4u);
  for (const char* parameter : {"nbl", "ndn", "taps", "thresholds", "seed", "noise", "threads",
                                "frame errors", "0.03 0.04 0.05 0.06"}) {
    EXPECT_NE(run.out.find(parameter), std::string::npos) << parameter;
  }
}

TEST(SweepOutput, NoErrorsAtZeroAndNoDecodingWithoutIterations) {
  const ScratchDirectory dir;
  ASSERT_EQ(runSim({"sweep", "--p", "0", "--frames", "3000", "--csv", "c.csv"}, dir.path()).status,
            0);
  const CsvRow clean = readCsv(dir.path() / "c.csv").rows.at(0);
  EXPECT_EQ(count(clean, "frames"), 3000);
  for (const char* column : {"frame_errors", "channel_info_errors", "decoded_info_errors"}) {
    EXPECT_EQ(count(clean, column), 0) << column;
  }
  EXPECT_EQ(clean.at("complete"), "1");

  // With ktrh[0] = 0 the decoder changes nothing: what the channel broke stays broken.
  dir.writeConfiguration(defaultConfigurationWith(6, "ktrh={0,2,1,0,0,0,0,0,0,0,0,0}"));
  ASSERT_EQ(
      runSim({"sweep", "--p", "0.02", "--frames", "2048", "--frame-errors", "0", "--csv", "c.csv"},
             dir.path())
          .status,
      0);
  const CsvRow raw = readCsv(dir.path() / "c.csv").rows.at(0);
  EXPECT_EQ(count(raw, "decoded_info_errors"), count(raw, "channel_info_errors"));
  EXPECT_EQ(real(raw, "mean_iterations"), 0);
}

// The counts depend on the arguments only: the same CSV, timing columns aside, on 1, 2 and 3
// threads, with a frame-error rule that ends the points part way through the frames.
TEST(SweepOutput, CountsDoNotDependOnTheThreadCount) {
  const ScratchDirectory dir;
  for (const char* noise : {"sound", "demo"}) {
    std::vector<std::string> runs;
    for (const char* threads : {"1", "2", "3"}) {
      const SimOutcome run =
          runSim({"sweep", "--p", "0.03,0.05", "--frames", "60000", "--frame-errors", "25",
                  "--noise", noise, "--threads", threads, "--csv", "c.csv"},
                 dir.path());
      ASSERT_EQ(run.status, 0) << run.err;
      std::string counts;
      const Csv csv = readCsv(dir.path() / "c.csv");
      ASSERT_EQ(csv.rows.size(), 2u);
      // Many batches, and a stop by frame errors that the batch order decides.
      const long long frames = count(csv.rows[0], "frames");
      EXPECT_TRUE(frames > 8 * 1024 && frames < 60000 && frames % 1024 == 0) << frames;
      for (CsvRow row : csv.rows) {
        row.erase("seconds");
        row.erase("info_mbps");
        for (const auto& [column, value] : row) counts += column + "=" + value + " ";
        counts += "\n";
      }
      runs.push_back(counts);
    }
    SCOPED_TRACE(noise);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0], runs[2]);
  }
}

// Demo noise quantises p as a Run does: 0.0567 draws errors where a 10-bit sample is at most 56.
TEST(SweepOutput, DemoNoiseReportsItsEffectiveProbability) {
  const ScratchDirectory dir;
  ASSERT_EQ(
      runSim({"sweep", "--noise", "demo", "--p", "0.0567", "--frames", "1024", "--csv", "c.csv"},
             dir.path())
          .status,
      0);
  const CsvRow row = readCsv(dir.path() / "c.csv").rows.at(0);
  EXPECT_NEAR(real(row, "effective_p"), 57.0 / 1024.0, 1e-12);
  EXPECT_NEAR(real(row, "p"), 0.0567, 1e-15);
}

TEST(SweepOutput, PlotsArePngOrSvg) {
  const ScratchDirectory dir;
  const SimOutcome run = runSim(
      {"sweep", "--p", "0.03,0.05", "--frames", "2048", "--plot", "curve.png", "--csv", "c.csv"},
      dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(fileText(dir.path() / "curve.png").starts_with("\x89PNG\r\n\x1a\n"));
  ASSERT_EQ(
      runSim({"sweep", "--p", "0", "--frames", "1024", "--plot", "curve.svg"}, dir.path()).status,
      0);
  const std::string svg = fileText(dir.path() / "curve.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("capacity limit"), std::string::npos);
  // Only the finished files remain: no temporary file is left beside them.
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
    ++files;
  }
  EXPECT_EQ(files, 3u);
}

TEST(SweepOutput, CapacityLimitOfTheRateHalfChannel) {
  const double limit = cli::bscCapacityLimit(0.5);
  EXPECT_NEAR(limit, 0.110028, 1e-6);
  EXPECT_NEAR(cli::binaryEntropy(limit), 0.5, 1e-12);
}

// Ctrl-C: the finished point and the current one are kept, the current one marked incomplete,
// the plot drawn, and the exit status is 130, soon after the signal.
TEST(SweepOutput, InterruptKeepsWhatWasComputed) {
  using Clock = std::chrono::steady_clock;
  const ScratchDirectory dir;
  // The first point ends at its 100th frame error at once; the second would run for hours.
  SimChild sim({"sweep", "--p", "0.07,0.01", "--frames", "1e12", "--threads", "2", "--csv", "c.csv",
                "--plot", "c.svg"},
               dir.path());
  const auto tableRows = [&] {
    std::size_t rows = 0;
    for (const std::string& line : linesOf(sim.outSoFar())) rows += line.starts_with("#") ? 0 : 1;
    return rows;
  };
  const Clock::time_point start = Clock::now();
  while (tableRows() < 1 && Clock::now() - start < std::chrono::seconds(30)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(tableRows(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const Clock::time_point interrupted = Clock::now();
  sim.signal(SIGINT);
  const SimOutcome run = sim.wait();
  // "Within a second", with room for a loaded machine and a sanitizer build.
  EXPECT_LT(Clock::now() - interrupted, std::chrono::milliseconds(2500));
  EXPECT_EQ(run.status, 130) << run.err;
  EXPECT_NE(run.out.find(" interrupted"), std::string::npos) << run.out;
  const Csv csv = readCsv(dir.path() / "c.csv");
  ASSERT_EQ(csv.rows.size(), 2u);
  EXPECT_EQ(csv.rows[0].at("complete"), "1");
  EXPECT_GE(count(csv.rows[0], "frame_errors"), 100);
  EXPECT_EQ(csv.rows[0].at("stopped_by"), "frame-errors");
  EXPECT_EQ(csv.rows[1].at("complete"), "0");
  EXPECT_EQ(csv.rows[1].at("stopped_by"), "interrupted");
  EXPECT_EQ(real(csv.rows[1], "p"), 0.01);
  EXPECT_LT(count(csv.rows[1], "frames"), 1'000'000'000'000LL);
  EXPECT_NE(fileText(dir.path() / "c.svg").find("<svg"), std::string::npos);
}

// A time limit ends a point at a batch end, near the limit, but short of the counts its frame
// and frame-error rules ask for: not complete, stopped by time.
TEST(SweepOutput, TimeLimitEndsAPointMarkedAsCutByTime) {
  const ScratchDirectory dir;
  const SimOutcome run = runSim({"sweep", "--p", "0.01", "--frames", "1e12", "--frame-errors", "0",
                                 "--max-seconds", "0.3", "--csv", "c.csv"},
                                dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const CsvRow row = readCsv(dir.path() / "c.csv").rows.at(0);
  EXPECT_EQ(row.at("complete"), "0");
  EXPECT_EQ(row.at("stopped_by"), "time");
  EXPECT_GE(real(row, "seconds"), 0.3);
  EXPECT_GT(count(row, "frames"), 0);
  EXPECT_EQ(count(row, "frames") % 1024, 0);
}

// Under demo noise at the configured p, frame i of the sweep is trial i of a Run: the traces of
// both through core's decoder agree from the code line to the final counts.
TEST(SweepOutput, DemoFrameTraceIsTheRunsTrialTrace) {
  const ScratchDirectory dir;
  const auto decoding = [](const std::string& trace) {
    std::string text;
    bool inside = false;
    for (const std::string& line : linesOf(trace)) {
      inside = inside || line.starts_with("CODE:");
      if (line.starts_with("STOP") || line.starts_with("NO ITERATIONS")) inside = false;
      if (inside || line.starts_with("FINAL:")) text += line + "\n";
    }
    return text;
  };
  std::size_t inError = 0;
  for (int trial = 0; trial < 12; ++trial) {
    const std::string index = std::to_string(trial);
    const SimOutcome run = runSim({"--trial", index}, dir.path());
    const SimOutcome frame =
        runSim({"sweep", "--noise", "demo", "--trace-frame", index}, dir.path());
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(frame.status, 0) << frame.err;
    SCOPED_TRACE(trial);
    EXPECT_GT(decoding(run.out).size(), 200u);
    EXPECT_EQ(decoding(run.out), decoding(frame.out));
    inError += frame.out.find("FRAME IN ERROR") != std::string::npos ? 1 : 0;
  }
  // At the default p = 0.06 some of these frames fail and some do not.
  EXPECT_GT(inError, 0u);
  EXPECT_LT(inError, 12u);
}

// A kept failure names a frame that the trace shows failing, with the same errors left.
TEST(SweepOutput, KeptFailuresTraceToFramesInError) {
  const ScratchDirectory dir;
  ASSERT_EQ(
      runSim({"sweep", "--p", "0.03,0.05", "--frames", "8192", "--keep-failures", "2", "k.csv"},
             dir.path())
          .status,
      0);
  std::vector<std::string> kept;
  for (const std::string& line : linesOf(fileText(dir.path() / "k.csv"))) {
    if (!line.starts_with("#") && !line.starts_with("config,")) kept.push_back(line);
  }
  ASSERT_EQ(kept.size(), 4u);
  for (const std::string& line : kept) {
    SCOPED_TRACE(line);
    const std::vector<std::string> f = fields(line);
    ASSERT_EQ(f.size(), 11u);
    std::vector<std::string> trace;
    std::istringstream command(f[10]);
    for (std::string word; command >> word;) trace.push_back(word);
    ASSERT_EQ(trace.at(0), "mtd-sim");
    const SimOutcome traced =
        runSim(std::vector<std::string>(trace.begin() + 1, trace.end()), dir.path());
    ASSERT_EQ(traced.status, 0) << traced.err;
    EXPECT_NE(traced.out.find("FRAME IN ERROR: " + f[8] + " INFORMATION ERRORS LEFT"),
              std::string::npos)
        << traced.out;
    EXPECT_NE(traced.out.find("INFORMATION ERRORS=" + f[6] + ", CHECK ERRORS=" + f[7]),
              std::string::npos)
        << traced.out;
  }
  // The first point's failures come before the second's, each in frame order.
  EXPECT_TRUE(kept[0].starts_with("default,0,0.03,") && kept[2].starts_with("default,1,0.05,"));
  EXPECT_LT(std::stoll(fields(kept[2])[5]), std::stoll(fields(kept[3])[5]));
}

}  // namespace
}  // namespace mtd::testing
