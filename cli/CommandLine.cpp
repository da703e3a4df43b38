#include "cli/CommandLine.h"

#include <charconv>

#include "ProjectVersion.h"

namespace mtd::cli {

namespace {

ParsedCommandLine refuse(std::string error) { return {std::nullopt, std::move(error)}; }

// A whole decimal number that fits 32 bits, optionally signed; nothing else.
std::optional<std::int32_t> parseTrialNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  std::int32_t value = 0;
  const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (status != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments) {
  CommandLine result;
  bool directoryGiven = false;
  bool trialGiven = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--help" || argument == "-h") {
      result.mode = Mode::Help;
    } else if (argument == "--version") {
      if (result.mode != Mode::Help) result.mode = Mode::Version;
    } else if (argument == "-C") {
      if (!hasValue || arguments[i + 1].empty()) return refuse("-C needs a directory");
      if (directoryGiven) return refuse("-C given twice");
      result.directory = std::filesystem::path(arguments[++i]);
      directoryGiven = true;
    } else if (argument == "--trial" || argument.starts_with("--trial=")) {
      std::string_view value;
      if (argument == "--trial") {
        if (!hasValue) return refuse("--trial needs a trial number");
        value = arguments[++i];
      } else {
        value = argument.substr(std::string_view("--trial=").size());
      }
      if (trialGiven) return refuse("--trial given twice");
      const std::optional<std::int32_t> trial = parseTrialNumber(value);
      if (!trial) {
        return refuse("--trial needs a whole number (a trial index from 0), not '" +
                      std::string(value) + "'");
      }
      result.trial = *trial;
      trialGiven = true;
    } else {
      return refuse("unknown argument '" + std::string(argument) + "'");
    }
  }
  if (result.mode == Mode::Transcript && trialGiven) result.mode = Mode::TrialTrace;
  return {result, {}};
}

std::string usageText() {
  return R"(Usage: mtd-sim [-C DIR] [--trial N]
       mtd-sim --help | --version

Runs the multithreshold decoding demonstration without a window. The configuration is
init.txt in the current directory (or in DIR), read exactly as the window program reads it;
without the file, or with a file that lacks the closing "check" line, the built-in defaults
are used. A marked file that breaks a limit is refused with a message.

Modes:
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

Options:
  -C DIR         Read init.txt from DIR instead of the current directory.
  -h, --help     Print this text and exit.
  --version      Print the program's name and version and exit.

Exit status: 0 on success; 2 on wrong arguments, a refused init.txt or a trial outside the
run; 1 when the output cannot be written.
)";
}

std::string versionText() { return std::string("mtd-sim ") + PROJECT_VERSION_TEXT + "\n"; }

}  // namespace mtd::cli
