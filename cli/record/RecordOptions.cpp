#include "cli/record/RecordOptions.h"

#include <CLI/CLI.hpp>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/ArgumentRefusal.h"
#include "cli/NumberText.h"

namespace mtd::cli::record {

namespace {

constexpr const char* DESCRIPTION =
    R"(Records the animation of one shown block of a Run, exactly as the window program draws it
for a screen of the chosen size, into an animated GIF, a video (.mp4, .webm, made by the
ffmpeg program) or one frame as a PNG picture. init.txt is read as the window program reads
it. The same arguments always give the same bytes.
)";

constexpr const char* FOOTER = R"(Parts of a block, in order: noise (the channel errors fill
the INFORMATION and SYNDROME rows), syndrome, decoding (every sweep of the decoder with its
cursor), wait (the 5-second hold after the decoding) and statistics (the 5-second statistics
screen). A frame is taken every --speed animated steps (one step per cell of a pass, one per
position of a decoder sweep, as in the window); the waits last their 5 seconds of frames.

Examples:
  mtd-sim record first-block.gif
  mtd-sim record --block 3 --start decoding --end wait --speed 50 decoding.mp4
  mtd-sim record --trial 0 --frame 100 noise.png

Exit status: 0 on success; 2 on wrong arguments, a refused init.txt or a block the run does
not show; 1 when the output cannot be written; 130 when interrupted (Ctrl-C, SIGTERM), after
keeping the frames recorded so far.)";

OutputFormat formatOf(const std::filesystem::path& output) {
  const std::string extension = lowered(output.extension().string());
  if (extension == ".gif") return OutputFormat::Gif;
  if (extension == ".mp4") return OutputFormat::Mp4;
  if (extension == ".webm") return OutputFormat::Webm;
  if (extension == ".png") return OutputFormat::Png;
  throw Refusal("OUTPUT " + quoted(output.string()) +
                ": the name must end in .gif, .mp4, .webm or .png (the format follows it)");
}

Phase phaseOption(const std::string& option, const std::string& text) {
  if (const auto phase = phaseNamed(lowered(text))) return *phase;
  throw Refusal(option + " needs one of noise, syndrome, decoding, wait, statistics, not " +
                quoted(text));
}

// "WxH", each side from 16 to 8192 pixels.
std::pair<int, int> sizeOption(const std::string& option, const std::string& text) {
  const std::size_t cross = lowered(text).find('x');
  const std::string what = "a size WIDTHxHEIGHT, each from 16 to 8192 pixels";
  if (cross == std::string::npos)
    throw Refusal(option + " needs " + what + ", not " + quoted(text));
  const auto width = parseWholeNumber(std::string_view(text).substr(0, cross));
  const auto height = parseWholeNumber(std::string_view(text).substr(cross + 1));
  auto inRange = [](const std::optional<std::int64_t>& side) {
    return side && *side >= 16 && *side <= 8192;
  };
  if (!inRange(width) || !inRange(height)) {
    throw Refusal(option + " needs " + what + ", not " + quoted(text));
  }
  return {static_cast<int>(*width), static_cast<int>(*height)};
}

struct Raw {
  std::string output, directory, block, trial, size, client, fps, speed, start, end, frame;
  bool noLoop = false;
};

class Parser {
 public:
  Parser() {
    app_.name("mtd-sim record");
    app_.description(DESCRIPTION);
    app_.footer(FOOTER);
    app_.get_formatter()->column_width(26);
    add("OUTPUT", raw_.output, "OUTPUT", "The file to write: .gif, .mp4, .webm or .png")
        ->required();
    add("-C", raw_.directory, "DIR", "Read init.txt from DIR instead of the current directory");
    add("--block", raw_.block, "N", "Record shown block N (from 1; default the first shown)");
    add("--trial", raw_.trial, "N", "Record the shown block that is trial N (from 0)");
    add("--size", raw_.size, "WxH", "Screen size in pixels (default 800x640)");
    add("--client", raw_.client, "WxH", "Client area of the window (default the screen)");
    add("--fps", raw_.fps, "F", "Frames per second (default 25; at most 50 for GIF)");
    add("--speed", raw_.speed, "N", "Animated steps per frame (default 20)");
    add("--start", raw_.start, "PART", "First part recorded (default noise)");
    add("--end", raw_.end, "PART", "Last part recorded (default statistics)");
    add("--frame", raw_.frame, "N", "For .png: the frame to write, from 0 (default 0)");
    app_.add_flag("--no-loop", raw_.noLoop, "For .gif: play once instead of repeating");
  }

  RecordOptions parse(std::span<const std::string_view> arguments) {
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
      app_.parse(reversed);
    } catch (const CLI::CallForHelp&) {
      return helpOptions();
    } catch (const CLI::ParseError& error) {
      throw Refusal(error.what());
    }
    return convert();
  }

 private:
  CLI::Option* add(const std::string& name, std::string& into, const std::string& type,
                   const std::string& help) {
    CLI::Option* option = app_.add_option(name, into, help)->type_name(type);
    options_.push_back(option);
    return option;
  }
  bool given(const std::string& name) const { return app_.get_option(name)->count() > 0; }

  RecordOptions helpOptions() const {
    RecordOptions options;
    options.help = true;
    options.helpText = app_.help();
    return options;
  }

  RecordOptions convert() const {
    RecordOptions o;
    o.output = raw_.output;
    o.format = formatOf(o.output);
    if (given("-C")) {
      if (raw_.directory.empty()) throw Refusal("-C needs a directory");
      o.directory = raw_.directory;
    }
    constexpr std::int64_t MOST = std::numeric_limits<std::int32_t>::max();
    if (given("--block") && given("--trial")) {
      throw Refusal("--block and --trial both choose the block; give one of them");
    }
    if (given("--block")) {
      o.block = {BlockChoice::By::BlockNumber,
                 static_cast<std::int32_t>(wholeNumber(parseWholeNumber, "--block", raw_.block, 1,
                                                       MOST, "a block number from 1"))};
    }
    if (given("--trial")) {
      o.block = {BlockChoice::By::Trial,
                 static_cast<std::int32_t>(wholeNumber(parseWholeNumber, "--trial", raw_.trial, 0,
                                                       MOST, "a trial index from 0"))};
    }
    if (given("--size")) std::tie(o.width, o.height) = sizeOption("--size", raw_.size);
    o.clientWidth = o.width;
    o.clientHeight = o.height;
    if (given("--client")) {
      std::tie(o.clientWidth, o.clientHeight) = sizeOption("--client", raw_.client);
      if (o.clientWidth > o.width || o.clientHeight > o.height) {
        throw Refusal("--client " + raw_.client + " is larger than the screen (--size " +
                      std::to_string(o.width) + "x" + std::to_string(o.height) + ")");
      }
    }
    const int mostFps = o.format == OutputFormat::Gif ? 50 : 60;
    if (given("--fps")) {
      o.fps = static_cast<int>(
          wholeNumber(parseWholeNumber, "--fps", raw_.fps, 1, mostFps,
                      "a whole number of frames per second from 1 to " + std::to_string(mostFps)));
    }
    if (given("--speed")) {
      o.stepsPerFrame =
          static_cast<int>(wholeNumber(parseWholeNumber, "--speed", raw_.speed, 1, 1'000'000,
                                       "a whole number of steps per frame from 1"));
    }
    if (given("--start")) o.start = phaseOption("--start", raw_.start);
    if (given("--end")) o.end = phaseOption("--end", raw_.end);
    if (o.start > o.end) {
      throw Refusal("--start " + std::string(phaseName(o.start)) + " comes after --end " +
                    std::string(phaseName(o.end)));
    }
    if (given("--frame")) {
      if (o.format != OutputFormat::Png) throw Refusal("--frame goes with a .png OUTPUT only");
      o.frame = wholeNumber(parseWholeNumber, "--frame", raw_.frame, 0,
                            std::numeric_limits<std::int64_t>::max(), "a frame number from 0");
    }
    if (raw_.noLoop) {
      if (o.format != OutputFormat::Gif) throw Refusal("--no-loop goes with a .gif OUTPUT only");
      o.loop = false;
    }
    return o;
  }

  CLI::App app_;
  Raw raw_;
  std::vector<CLI::Option*> options_;
};

}  // namespace

ParsedRecordOptions parseRecordOptions(std::span<const std::string_view> arguments) {
  try {
    return {Parser().parse(arguments), {}};
  } catch (const Refusal& refusal) {
    return {std::nullopt, refusal.message};
  }
}

}  // namespace mtd::cli::record
