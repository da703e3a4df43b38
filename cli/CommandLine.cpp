// The only file that includes the argument library: it is slow to compile.
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "ProjectVersion.h"
#include "cli/NumberText.h"
#include "cli/ProbabilityList.h"

namespace mtd::cli {

namespace {

// Beyond this a thread count is a typing error; the engine would only wait on more threads.
constexpr std::int64_t MAX_THREADS = 1024;

constexpr const char* MAIN_DESCRIPTION =
    R"(Runs the multithreshold decoding demonstration without a window. The configuration is
init.txt in the current directory (or in DIR), read exactly as the window program reads it;
without the file, or with a file that lacks the closing "check" line, the built-in defaults
are used. A marked file that breaks a limit is refused with a message.
)";

constexpr const char* MAIN_FOOTER = R"(Modes:
  (no --trial)   Performs one whole Run and prints its transcript: for each shown block one
                 "SHOWN BLOCK:" line with the trial index and the status lines, then the
                 eleven lines of the statistics screen; at the end TRIALS=... and
                 SHOWN BLOCKS=...
  --trial N      Traces trial block N of the Run (counting from 0) for following it by
                 hand: the channel errors, the syndrome weight, every decoder iteration with
                 its threshold, its flips (position and check sum S), the errors, syndrome
                 weight and distance after it, why the decoding stopped, and whether the
                 selection rule shows the block or which condition rejects it.
                 N runs from 0 to maxBlock-1. --trial=N is accepted too.
  sweep          Estimates the bit and frame error rates after decoding over a list of
                 channel error probabilities (mtd-sim sweep --help).
  record OUTPUT  Records a shown block's animation as a GIF, a video or one PNG frame
                 (mtd-sim record --help; it comes first on the command line).

Exit status: 0 on success; 2 on wrong arguments, a refused init.txt or a trial outside the
run; 1 when the output cannot be written; 130 when a sweep is interrupted.)";

constexpr const char* SWEEP_SUMMARY =
    "Bit and frame error rates after decoding over a list of p (mtd-sim sweep --help)";

constexpr const char* SWEEP_FOOTER =
    R"(Estimates by Monte Carlo the bit error rate (BER) and frame error rate (FER) after
decoding, for each channel error probability p of a list, with the code of init.txt (nbl,
ndn, the kfp taps and the ktrh thresholds). A frame is in error when information errors
remain after decoding. Prints a commented header and one table row per point as it
completes; on a terminal, stderr shows a live progress line. Ctrl-C ends the sweep within a
second, keeps the finished points and the current one (complete=0) and exits with 130.
The printed counts depend only on the arguments, never on the number of threads or the
machine's speed, except when --max-seconds ends a point.

Example: mtd-sim sweep --p 0.02:0.10:0.01 --csv curve.csv --plot curve.png)";

// The arguments as written; they are converted and checked after the library has sorted them.
struct RawArguments {
  std::string directory;
  std::string trial;
  bool version = false;
  std::string p, frames, frameErrors, maxSeconds, seed, threads, noise, csv, plot, traceFrame;
  std::vector<std::string> keepFailures;
};

class Refusal {
 public:
  explicit Refusal(std::string message) : message(std::move(message)) {}
  std::string message;
};

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// A whole number written in digits, or in scientific notation when that is exact (1e6).
std::optional<std::int64_t> countValue(const std::string& text) {
  if (const auto value = parseWholeNumber(text)) return value;
  constexpr double EXACT = 9007199254740992.0;  // 2^53: every whole double below it is exact
  const auto value = parseDecimal(text);
  if (!value || *value != std::floor(*value) || std::fabs(*value) > EXACT) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

std::int64_t wholeNumber(const std::string& option, const std::string& text, std::int64_t least,
                         std::int64_t most, const std::string& what) {
  const auto value = countValue(text);
  if (!value || *value < least || *value > most) {
    throw Refusal(option + " needs " + what + ", not " + quoted(text));
  }
  return *value;
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class Parser {
 public:
  Parser() {
    app_.name("mtd-sim");
    app_.description(MAIN_DESCRIPTION);
    app_.footer(MAIN_FOOTER);
    app_.get_formatter()->column_width(30);
    directory_ = app_.add_option("-C", raw_.directory,
                                 "Read init.txt from DIR instead of the "
                                 "current directory")
                     ->type_name("DIR");
    trial_ =
        app_.add_option("--trial", raw_.trial, "Trace trial N of the Run (from 0)")->type_name("N");
    app_.add_flag("--version", raw_.version, "Print the program's version and exit");
    addSweep();
  }

  CommandLine parse(std::span<const std::string_view> arguments) {
    // The library reads the arguments from the back of the list.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
      app_.parse(reversed);
    } catch (const CLI::CallForHelp&) {
      return helpCommandLine();
    } catch (const CLI::CallForAllHelp&) {
      return helpCommandLine();
    } catch (const CLI::ParseError& error) {
      throw Refusal(error.what());
    }
    return convert();
  }

 private:
  void addSweep() {
    sweep_ = app_.add_subcommand("sweep", SWEEP_SUMMARY);
    sweep_->footer(SWEEP_FOOTER);
    // -C may come after the subcommand word too.
    sweep_->fallthrough();
    auto text = [this](const char* name, std::string& into, const char* type, const char* help) {
      return sweep_->add_option(name, into, help)->type_name(type);
    };
    text("--p", raw_.p, "LIST",
         "Channel error probabilities: comma-separated values and ranges FROM:TO:STEP "
         "(both ends included), e.g. 0.02:0.08:0.01,0.1. Default: the configured p");
    text("--frames", raw_.frames, "N", "At most N frames per point (default 1000000)");
    text("--frame-errors", raw_.frameErrors, "E",
         "End a point once E frames are in error (default 100; 0: never)");
    text("--max-seconds", raw_.maxSeconds, "S", "End a point after S seconds (default: no limit)");
    text("--seed", raw_.seed, "S", "Seed of the sound noise (default 1)");
    text("--threads", raw_.threads, "T", "Threads (default: all hardware threads)");
    text("--noise", raw_.noise, "KIND",
         "sound (default): independent Bernoulli(p) errors from a counter-based generator; "
         "demo: the Run's own generator, seeded by kst, with p quantised as a Run does");
    text("--csv", raw_.csv, "FILE", "Write one row per point to FILE");
    text("--plot", raw_.plot, "FILE",
         "Draw BER, FER and channel BER against p into FILE (.png "
         "or .svg)");
    sweep_
        ->add_option("--keep-failures", raw_.keepFailures,
                     "Write the first N frames in error of each point to FILE, with what "
                     "identifies them")
        ->expected(2)
        ->option_text("N FILE");
    text("--trace-frame", raw_.traceFrame, "[J:]I",
         "Instead of sweeping, trace frame I of point J (default 0; the J-th --p value, or the "
         "only one) as --trial traces a trial");
  }

  // [POINT:]FRAME, the point counted in the --p list.
  FrameReference frameReference(std::size_t points) const {
    constexpr std::int64_t MOST = std::numeric_limits<std::int64_t>::max();
    const std::string& text = raw_.traceFrame;
    const std::size_t colon = text.find(':');
    const std::string what =
        "a frame index from 0, or POINT:FRAME with the point's place in --p "
        "from 0";
    FrameReference frame;
    if (colon != std::string::npos) {
      // The point's place keys its noise in 32 bits.
      frame.point = wholeNumber("--trace-frame", text.substr(0, colon), 0,
                                std::numeric_limits<std::uint32_t>::max(), what);
      frame.frame = wholeNumber("--trace-frame", text.substr(colon + 1), 0, MOST, what);
    } else {
      frame.frame = wholeNumber("--trace-frame", text, 0, MOST, what);
    }
    // With a single --p value, point J has that p (its place in the sweep keys the noise).
    if (points > 1 && static_cast<std::size_t>(frame.point) >= points) {
      throw Refusal("--trace-frame " + quoted(text) + ": the --p list has " +
                    std::to_string(points) + " points, counted from 0");
    }
    return frame;
  }

  CommandLine helpCommandLine() const {
    CommandLine result;
    result.mode = Mode::Help;
    result.text = app_.help();
    return result;
  }

  CommandLine convert() const {
    CommandLine result;
    if (directory_->count() > 0) {
      if (raw_.directory.empty()) throw Refusal("-C needs a directory");
      result.directory = raw_.directory;
    }
    if (trial_->count() > 0) {
      const auto trial = parseWholeNumber(raw_.trial);
      if (!trial || *trial < std::numeric_limits<std::int32_t>::min() ||
          *trial > std::numeric_limits<std::int32_t>::max()) {
        throw Refusal("--trial needs a whole number (a trial index from 0), not " +
                      quoted(raw_.trial));
      }
      result.trial = static_cast<std::int32_t>(*trial);
      result.mode = Mode::TrialTrace;
    }
    if (sweep_->parsed()) {
      if (trial_->count() > 0) {
        throw Refusal(
            "--trial traces a trial of a Run and does not go with sweep "
            "(sweep --trace-frame traces a frame of a sweep)");
      }
      result.mode = Mode::Sweep;
      result.sweep = sweepOptions();
    }
    if (raw_.version) {
      result.mode = Mode::Version;
      result.text = std::string("mtd-sim ") + PROJECT_VERSION_TEXT + "\n";
    }
    return result;
  }

  bool given(const char* name) const { return sweep_->get_option(name)->count() > 0; }

  SweepOptions sweepOptions() const {
    constexpr std::int64_t MOST = std::numeric_limits<std::int64_t>::max();
    SweepOptions o;
    if (given("--p")) {
      auto list = parseProbabilityList(raw_.p);
      if (auto* error = std::get_if<std::string>(&list)) {
        throw Refusal("--p: " + *error);
      }
      o.p = std::get<std::vector<double>>(std::move(list));
    }
    if (given("--frames")) {
      o.frames =
          wholeNumber("--frames", raw_.frames, 1, MOST, "a whole number of frames, 1 or more");
    }
    if (given("--frame-errors")) {
      o.frameErrors = wholeNumber("--frame-errors", raw_.frameErrors, 0, MOST,
                                  "a whole number of frame errors, 0 (never) or more");
    }
    if (given("--max-seconds")) {
      const auto seconds = parseDecimal(raw_.maxSeconds);
      if (!seconds || *seconds <= 0) {
        throw Refusal("--max-seconds needs a number of seconds above 0, not " +
                      quoted(raw_.maxSeconds));
      }
      o.maxSeconds = *seconds;
    }
    if (given("--seed")) {
      o.seed = static_cast<std::uint64_t>(
          wholeNumber("--seed", raw_.seed, 0, MOST, "a whole number, 0 or more"));
    }
    o.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (given("--threads")) {
      o.threads = static_cast<int>(
          wholeNumber("--threads", raw_.threads, 1, MAX_THREADS,
                      "a whole number of threads from 1 to " + std::to_string(MAX_THREADS)));
    }
    if (given("--noise")) {
      if (raw_.noise != "sound" && raw_.noise != "demo") {
        throw Refusal("--noise needs sound or demo, not " + quoted(raw_.noise));
      }
      o.noise = raw_.noise == "demo" ? SweepNoise::Demo : SweepNoise::Sound;
    }
    if (given("--csv")) {
      if (raw_.csv.empty()) throw Refusal("--csv needs a file name");
      o.csv = raw_.csv;
    }
    if (given("--plot")) {
      const std::filesystem::path plot(raw_.plot);
      const std::string extension = lowered(plot.extension().string());
      if (extension != ".png" && extension != ".svg") {
        throw Refusal("--plot needs a file name ending in .png or .svg, not " + quoted(raw_.plot));
      }
      o.plot = plot;
    }
    if (given("--keep-failures")) {
      const std::int64_t count = wholeNumber("--keep-failures", raw_.keepFailures.at(0), 1, MOST,
                                             "a whole number of frames, 1 or more, then a file");
      if (raw_.keepFailures.at(1).empty()) throw Refusal("--keep-failures needs a file name");
      o.keepFailures = KeepFailures{count, raw_.keepFailures.at(1)};
    }
    if (given("--trace-frame")) o.traceFrame = frameReference(o.p.size());
    return o;
  }

  CLI::App app_;
  CLI::App* sweep_ = nullptr;
  CLI::Option* directory_ = nullptr;
  CLI::Option* trial_ = nullptr;
  RawArguments raw_;
};

}  // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  try {
    return {Parser().parse(arguments), {}};
  } catch (const Refusal& refusal) {
    return {std::nullopt, refusal.message};
  }
}

}  // namespace mtd::cli
