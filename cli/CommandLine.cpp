// The only file that includes the argument library: it is slow to compile.
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "ProjectVersion.h"
#include "cli/ArgumentRefusal.h"
#include "cli/NumberText.h"
#include "cli/ProbabilityList.h"

namespace mtd::cli {

namespace {

// Beyond this a thread count is a typing error; the engine would only wait on more threads.
constexpr std::int64_t MAX_THREADS = 1024;
// The counts of a point stay within 64 bits for every block length up to this many frames.
constexpr std::int64_t MAX_FRAMES = 1'000'000'000'000'000;
// Kept failures are traced one by one: more would be a typing error.
constexpr std::int64_t MAX_KEPT = 1'000'000;
constexpr double MAX_SECONDS = 1e9;  // about 31 years
constexpr int MAX_PLOT_SIDE = 10000;

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
run; 1 when the output cannot be written; 128 + the signal when a sweep is interrupted
(130 for Ctrl-C).)";

constexpr const char* SWEEP_SUMMARY =
    "Bit and frame error rates after decoding over a list of p (mtd-sim sweep --help)";

constexpr const char* SWEEP_FOOTER =
    R"(Estimates by Monte Carlo the bit error rate (BER) and frame error rate (FER) after
decoding, with 95% confidence intervals, for each channel error probability p of a list,
with the code of init.txt (nbl, ndn, the kfp taps and the ktrh thresholds); an unmarked or
unreadable init.txt is refused unless --defaults. A frame is in error when information
errors remain after decoding. Prints the settings as # lines and one table row per point as
it completes; on a terminal, stderr shows a live progress line. Ctrl-C, SIGTERM or a closed
pipe ends the sweep within a second, keeps the finished points and the current one
(stopped_by=interrupted) and exits with 128 + the signal (130 for Ctrl-C). The counts
depend only on the arguments, never on the number of threads or the machine's speed,
except when --max-seconds ends a point.

Example: mtd-sim sweep -C . -C examples/long-block --p 0.02:0.08:0.01 --csv curve.csv
         --plot curve.png)";

// The help texts name the program that shows them.
std::string named(const char* text, const std::string& program) {
  std::string result = text;
  const std::string generic = "mtd-sim";
  for (std::size_t at = result.find(generic); at != std::string::npos;
       at = result.find(generic, at + program.size())) {
    result.replace(at, generic.size(), program);
  }
  return result;
}

// The arguments as written; they are converted and checked after the library has sorted them.
struct RawArguments {
  std::vector<std::string> directories;
  std::vector<std::string> sweepDirectories;  // -C after the word sweep
  std::string trial;
  bool version = false;
  std::string p, frames, frameErrors, maxSeconds, seed, threads, noise, csv, json, plot, plotSize,
      pRange, rateRange, traceFrame;
  bool defaults = false;
  std::vector<std::string> keepFailures;
  std::vector<std::string> overrides;
};

// A whole number written in digits, or in scientific notation when that is exact (1e6).
std::optional<std::int64_t> countValue(std::string_view text) {
  if (const auto value = parseWholeNumber(text)) return value;
  constexpr double EXACT = 9007199254740992.0;  // 2^53: every whole double below it is exact
  const auto value = parseDecimal(text);
  if (!value || *value != std::floor(*value) || std::fabs(*value) > EXACT) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

class Parser {
 public:
  explicit Parser(const char* programName) : programName_(programName) {
    app_.name(programName);
    app_.description(MAIN_DESCRIPTION);
    app_.footer(named(MAIN_FOOTER, programName_));
    app_.get_formatter()->column_width(30);
    directory_ = app_.add_option("-C", raw_.directories,
                                 "Read init.txt from DIR instead of the current directory; a "
                                 "sweep takes -C once for each code it compares")
                     ->type_name("DIR")
                     ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                     ->expected(1);
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

  bool inSweep() const { return sweep_->parsed(); }

 private:
  void addSweep() {
    sweep_ = app_.add_subcommand("sweep", named(SWEEP_SUMMARY, programName_));
    sweep_->footer(named(SWEEP_FOOTER, programName_));
    // -C may come after the subcommand word too: listed in the sweep's help, and taken in the
    // order written.
    sweep_->fallthrough();
    sweep_
        ->add_option("-C", raw_.sweepDirectories,
                     "Read init.txt from DIR; repeated, each code is a curve of its own "
                     "(default: the current directory)")
        ->type_name("DIR")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->expected(1);
    auto text = [this](const char* name, std::string& into, const char* type, const char* help) {
      return sweep_->add_option(name, into, help)->type_name(type);
    };
    text("--p", raw_.p, "LIST",
         "Channel error probabilities: comma-separated values and ranges FROM:TO:STEP "
         "(both ends included), e.g. 0.02:0.08:0.01,0.1. Default: the configured p");
    text("--frames", raw_.frames, "N", "At most N frames per point, 1 to 1e15 (default 1000000)");
    text("--frame-errors", raw_.frameErrors, "E",
         "End a point once E frames are in error, 0 (never) to 1e15 (default 100)");
    text("--max-seconds", raw_.maxSeconds, "S",
         "End a point after S seconds, above 0 up to 1e9 (default: no limit)");
    text("--seed", raw_.seed, "S",
         "Seed of the sound noise, 0 to 18446744073709551615 (default 1)");
    text("--threads", raw_.threads, "T", "Threads, 1 to 1024 (default: all hardware threads)");
    text("--noise", raw_.noise, "KIND",
         "sound (default): independent Bernoulli(p) errors from a counter-based generator; "
         "demo: the Run's own generator, seeded by kst, with p quantised as a Run does");
    text("--csv", raw_.csv, "FILE",
         "Write the settings as # lines and one row per point to FILE (- for stdout, "
         "instead of the table)");
    text("--json", raw_.json, "FILE", "Write the settings and every point as JSON to FILE");
    text("--plot", raw_.plot, "FILE",
         "Draw BER and FER with 95% error bars, and the channel BER, against p into FILE "
         "(.png, .svg or .pdf)");
    text("--plot-size", raw_.plotSize, "WxH",
         "The plot's size in pixels (default 900x600; a PDF takes 1/100 inch a pixel)");
    text("--plot-p-range", raw_.pRange, "LOW:HIGH", "The plot's p axis (default: fitted)");
    text("--plot-rate-range", raw_.rateRange, "LOW:HIGH",
         "The plot's error-rate axis, above 0 (default: whole decades around the rates)");
    sweep_
        ->add_option("--set", raw_.overrides,
                     "Set a value of init.txt for every code, as its line in the file is "
                     "written: nbl, kst, p, ndn, kfp, ktrh, maxBlock or ddn; repeatable (quote "
                     "braces: --set 'ktrh={8,3,2,1,0,0,0,0,0,0,0,0}')")
        ->type_name("NAME=VALUE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->expected(1);
    sweep_->add_flag("--defaults", raw_.defaults,
                     "Run the built-in code where init.txt is unmarked or unreadable, instead "
                     "of refusing it");
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
    const std::string& text = raw_.traceFrame;
    const std::size_t colon = text.find(':');
    const std::string what =
        "a frame index from 0 below 1e15, or POINT:FRAME with the point's place in --p "
        "from 0";
    FrameReference frame;
    if (colon != std::string::npos) {
      // The point's place keys its noise in 32 bits.
      frame.point = wholeNumber(countValue, "--trace-frame", text.substr(0, colon), 0,
                                std::numeric_limits<std::uint32_t>::max(), what);
      frame.frame =
          wholeNumber(countValue, "--trace-frame", text.substr(colon + 1), 0, MAX_FRAMES - 1, what);
    } else {
      frame.frame = wholeNumber(countValue, "--trace-frame", text, 0, MAX_FRAMES - 1, what);
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
    std::vector<std::string> directories = raw_.directories;
    directories.insert(directories.end(), raw_.sweepDirectories.begin(),
                       raw_.sweepDirectories.end());
    if (!directories.empty()) {
      result.directories.clear();
      for (const std::string& directory : directories) {
        if (directory.empty()) throw Refusal("-C needs a directory");
        result.directories.emplace_back(directory);
      }
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
    if (!sweep_->parsed() && result.directories.size() > 1) {
      throw Refusal("-C is given " + std::to_string(result.directories.size()) +
                    " times: only a sweep compares several codes");
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
      result.text = programName_ + " " + PROJECT_VERSION_TEXT + "\n";
    }
    return result;
  }

  bool given(const char* name) const { return sweep_->get_option(name)->count() > 0; }

  // LOW:HIGH with LOW below HIGH; rates above 0 when `positive`.
  AxisRange axisRange(const char* option, const std::string& text, bool positive) const {
    const std::size_t colon = text.find(':');
    const auto low =
        colon == std::string::npos ? std::nullopt : parseDecimal(text.substr(0, colon));
    const auto high =
        colon == std::string::npos ? std::nullopt : parseDecimal(text.substr(colon + 1));
    if (!low || !high || *low >= *high || (positive && *low <= 0) || *low < 0) {
      throw Refusal(std::string(option) + " needs LOW:HIGH with 0 " + (positive ? "< " : "<= ") +
                    "LOW < HIGH, not " + quoted(text));
    }
    return {*low, *high};
  }

  void plotOptions(PlotOptions& plot) const {
    const bool any = given("--plot-size") || given("--plot-p-range") || given("--plot-rate-range");
    if (any && plot.file.empty()) throw Refusal("--plot-size and the plot's ranges need --plot");
    if (given("--plot-size")) {
      const std::size_t x = lowered(raw_.plotSize).find('x');
      const auto width =
          x == std::string::npos ? std::nullopt : parseWholeNumber(raw_.plotSize.substr(0, x));
      const auto height =
          x == std::string::npos ? std::nullopt : parseWholeNumber(raw_.plotSize.substr(x + 1));
      if (!width || !height || *width < 100 || *height < 100 || *width > MAX_PLOT_SIDE ||
          *height > MAX_PLOT_SIDE) {
        throw Refusal("--plot-size needs WIDTHxHEIGHT, each from 100 to 10000 pixels, not " +
                      quoted(raw_.plotSize));
      }
      plot.width = static_cast<int>(*width);
      plot.height = static_cast<int>(*height);
    }
    if (given("--plot-p-range")) plot.pRange = axisRange("--plot-p-range", raw_.pRange, false);
    if (given("--plot-rate-range")) {
      plot.rateRange = axisRange("--plot-rate-range", raw_.rateRange, true);
    }
  }

  SweepOptions sweepOptions() const {
    SweepOptions o;
    if (given("--p")) {
      auto list = parseProbabilityList(raw_.p);
      if (auto* error = std::get_if<std::string>(&list)) {
        throw Refusal("--p: " + *error);
      }
      o.p = std::get<std::vector<double>>(std::move(list));
    }
    if (given("--frames")) {
      o.frames = wholeNumber(countValue, "--frames", raw_.frames, 1, MAX_FRAMES,
                             "a whole number of frames from 1 to 1e15");
    }
    if (given("--frame-errors")) {
      o.frameErrors = wholeNumber(countValue, "--frame-errors", raw_.frameErrors, 0, MAX_FRAMES,
                                  "a whole number of frame errors from 0 (never) to 1e15");
    }
    if (given("--max-seconds")) {
      const auto seconds = parseDecimal(raw_.maxSeconds);
      if (!seconds || *seconds <= 0 || *seconds > MAX_SECONDS) {
        throw Refusal("--max-seconds needs a number of seconds above 0 up to 1e9, not " +
                      quoted(raw_.maxSeconds));
      }
      o.maxSeconds = *seconds;
    }
    if (given("--seed")) {
      const auto seed = parseUnsigned(raw_.seed);
      if (!seed) {
        throw Refusal("--seed needs a whole number from 0 to 18446744073709551615, not " +
                      quoted(raw_.seed));
      }
      o.seed = *seed;
    }
    o.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (given("--threads")) {
      o.threads = static_cast<int>(
          wholeNumber(countValue, "--threads", raw_.threads, 1, MAX_THREADS,
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
    if (given("--json")) {
      if (raw_.json.empty()) throw Refusal("--json needs a file name");
      o.json = raw_.json;
    }
    if (given("--plot")) {
      const std::filesystem::path plot(raw_.plot);
      const std::string extension = lowered(plot.extension().string());
      if (extension != ".png" && extension != ".svg" && extension != ".pdf") {
        throw Refusal("--plot needs a file name ending in .png, .svg or .pdf, not " +
                      quoted(raw_.plot));
      }
      o.plot.file = plot;
    }
    plotOptions(o.plot);
    o.defaultsAllowed = raw_.defaults;
    for (const std::string& text : raw_.overrides) {
      const auto value = parseCodeOverride(text);
      if (!value) {
        throw Refusal(
            "--set needs NAME=VALUE with NAME one of nbl, kst, p, ndn, kfp, ktrh, "
            "maxBlock, ddn, not " +
            quoted(text));
      }
      o.overrides.push_back(*value);
    }
    if (given("--keep-failures")) {
      const std::int64_t count =
          wholeNumber(countValue, "--keep-failures", raw_.keepFailures.at(0), 1, MAX_KEPT,
                      "a whole number of frames from 1 to 1000000, then a file");
      if (raw_.keepFailures.at(1).empty()) throw Refusal("--keep-failures needs a file name");
      o.keepFailures = KeepFailures{count, raw_.keepFailures.at(1)};
    }
    if (given("--trace-frame")) o.traceFrame = frameReference(o.p.size());
    return o;
  }

  std::string programName_;
  CLI::App app_;
  CLI::App* sweep_ = nullptr;
  CLI::Option* directory_ = nullptr;
  CLI::Option* trial_ = nullptr;
  RawArguments raw_;
};

}  // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments,
                                   const char* programName) {
  Parser parser(programName);
  try {
    return {parser.parse(arguments), {}, false};
  } catch (const Refusal& refusal) {
    return {std::nullopt, refusal.message, parser.inSweep()};
  }
}

}  // namespace mtd::cli
