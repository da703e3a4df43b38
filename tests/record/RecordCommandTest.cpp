// mtd-sim record run as a user runs it: the files it writes as standard tools read them, the
// same bytes for the same arguments, refused arguments, and a stop that keeps what was made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "SimProcess.h"

namespace mtd::testing {
namespace {

std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool onPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a command and returns its standard output.
std::string commandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// Nothing but the files a test expects: no temporary file left beside them.
std::vector<std::string> filesIn(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The noise and syndrome of the first block at 100 steps a frame: 21 + 11 frames.
const std::vector<std::string> SHORT_PARTS = {"--end", "syndrome", "--speed", "100"};
const std::vector<std::string> SHORT = {"--size", "400x320", "--end", "syndrome", "--speed", "100"};

std::vector<std::string> with(std::vector<std::string> arguments,
                              const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(RecordCommand, AGifDecodesToThePlannedFramesAndSizeAndRepeatsByteForByte) {
  ScratchDirectory dir;
  const SimOutcome first = runSim(with({"record"}, with(SHORT, {"a.gif"})), dir.path());
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.err.find("a.gif: GIF, block 1 (trial 0), noise to syndrome, 32 frames"),
            std::string::npos)
      << first.err;
  const SimOutcome second = runSim(with({"record"}, with(SHORT, {"b.gif"})), dir.path());
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(fileBytes(dir.path() / "a.gif"), fileBytes(dir.path() / "b.gif"));
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"a.gif", "b.gif"}));

  if (!onPath("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
  const std::string frames =
      commandOutput("identify -format '%W %H %T\\n' " + (dir.path() / "a.gif").string());
  // A frame equal to the one before lengthens that one instead of being stored: the first
  // syndrome step repaints a cell in the colour it had. The delays still add up to 32 frames
  // of 4 centiseconds (25 fps).
  const std::vector<std::string> lines = linesOf(frames);
  ASSERT_GE(lines.size(), 20u) << frames;
  ASSERT_LE(lines.size(), 32u) << frames;
  int centiseconds = 0;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.substr(0, 8), "400 320 ") << line;
    centiseconds += std::stoi(line.substr(8));
  }
  EXPECT_EQ(centiseconds, 32 * 4);
}

TEST(RecordCommand, AnMp4HasThePlannedFramesThroughFfprobe) {
  if (!onPath("ffmpeg") || !onPath("ffprobe")) GTEST_SKIP() << "ffmpeg/ffprobe are not installed";
  ScratchDirectory dir;
  const SimOutcome outcome =
      runSim(with({"record"}, with(SHORT_PARTS, {"--size", "401x321", "--fps", "10", "a.mp4"})),
             dir.path());
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string probe = commandOutput(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,nb_read_frames,r_frame_rate -of csv=p=0 " +
      (dir.path() / "a.mp4").string());
  // An odd size is padded by a black pixel to the even size the encoder needs.
  EXPECT_EQ(probe, "h264,402,322,10/1,32\n");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"a.mp4"}));
}

TEST(RecordCommand, APngIsTheChosenFrame) {
  ScratchDirectory dir;
  const SimOutcome last =
      runSim(with({"record"}, with(SHORT, {"--frame", "31", "f.png"})), dir.path());
  ASSERT_EQ(last.status, 0) << last.err;
  EXPECT_EQ(fileBytes(dir.path() / "f.png").substr(1, 3), "PNG");
  const SimOutcome beyond =
      runSim(with({"record"}, with(SHORT, {"--frame", "32", "g.png"})), dir.path());
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.err.find("--frame 32: the recording has frames 0 to 31"), std::string::npos)
      << beyond.err;
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"f.png"}));
}

TEST(RecordCommand, RefusedArgumentsExitWith2AndNameTheArgument) {
  ScratchDirectory dir;
  std::filesystem::create_directory(dir.path() / "folder.gif");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"a.avi"}, "OUTPUT 'a.avi': the name must end in .gif, .mp4, .webm or .png"},
      {{"--fps", "0", "a.gif"}, "--fps needs a whole number of frames per second from 1 to 50"},
      {{"--fps", "51", "a.gif"}, "--fps needs"},
      {{"--fps", "61", "a.mp4"}, "from 1 to 60"},
      {{"--speed", "fast", "a.gif"}, "--speed needs a whole number of steps per frame"},
      {{"--size", "800", "a.gif"}, "--size needs a size WIDTHxHEIGHT"},
      {{"--size", "8x8", "a.gif"}, "--size needs"},
      {{"--client", "900x600", "a.gif"},
       "--client 900x600 is larger than the screen (--size 800x640)"},
      {{"--start", "middle", "a.gif"}, "--start needs one of noise, syndrome, decoding"},
      {{"--start", "wait", "--end", "noise", "a.gif"}, "--start wait comes after --end noise"},
      {{"--frame", "3", "a.gif"}, "--frame goes with a .png OUTPUT only"},
      {{"--no-loop", "a.mp4"}, "--no-loop goes with a .gif OUTPUT only"},
      {{"--block", "0", "a.gif"}, "--block needs a block number from 1"},
      {{"--block", "1", "--trial", "0", "a.gif"}, "--block and --trial both choose the block"},
      {{"--block", "360", "a.gif"}, "--block 360: the run shows 359 blocks"},
      {{"--trial", "2", "a.gif"}, "--trial 2: the run does not show this trial"},
      {{"-C", "missing", "a.gif"}, "-C missing: no such directory"},
      {{"folder.gif"}, "OUTPUT folder.gif: is a directory"},
      {{"--end", "syndrome"}, "OUTPUT is required"},
  };
  for (const auto& [arguments, message] : cases) {
    const SimOutcome outcome = runSim(with({"record"}, arguments), dir.path());
    EXPECT_EQ(outcome.status, 2) << arguments.back();
    EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"folder.gif"}));
}

TEST(RecordCommand, AVideoWithoutFfmpegSaysWhatToInstall) {
  ScratchDirectory dir;
  const char* path = std::getenv("PATH");
  const std::string saved = path != nullptr ? path : "";
  setenv("PATH", "/nonexistent-mtd-bin", 1);
  const SimOutcome outcome = runSim({"record", "a.webm"}, dir.path());
  setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("OUTPUT a.webm: a video is made by the ffmpeg program, which is not "
                             "on PATH"),
            std::string::npos)
      << outcome.err;
  EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(RecordCommand, SigtermKeepsAPlayableGifOfTheFramesSoFar) {
  ScratchDirectory dir;
  // One frame a step: far more than the test lets it make.
  SimChild child({"record", "--speed", "1", "--size", "200x160", "long.gif"}, dir.path());
  // The temporary file appears when the recording starts; then let it record a little.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (filesIn(dir.path()).empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  child.signal(SIGTERM);
  const SimOutcome outcome = child.wait();
  ASSERT_EQ(outcome.status, 130) << outcome.err;
  EXPECT_NE(outcome.err.find("stopped; long.gif keeps the"), std::string::npos) << outcome.err;
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"long.gif"}));
  if (!onPath("identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
  const std::vector<std::string> frames =
      linesOf(commandOutput("identify -format '%W\\n' " + (dir.path() / "long.gif").string()));
  EXPECT_GE(frames.size(), 1u);
  EXPECT_LT(frames.size(), 16000u);
}

TEST(RecordCommand, AnOutputThatIsNoRegularFileIsWrittenNotReplaced) {
  ScratchDirectory dir;
  const std::filesystem::path fifo = dir.path() / "pipe.gif";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = fileBytes(fifo); });
  const SimOutcome outcome = runSim(with({"record"}, with(SHORT, {"pipe.gif"})), dir.path());
  reader.join();
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(received.substr(0, 6), "GIF89a");
  ASSERT_GT(received.size(), 100u);
  EXPECT_EQ(received.back(), ';');  // the GIF trailer: the whole file came through
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"pipe.gif"}));
}

}  // namespace
}  // namespace mtd::testing
