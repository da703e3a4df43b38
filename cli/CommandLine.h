#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/SweepOptions.h"

namespace mtd::cli {

enum class Mode { Transcript, TrialTrace, Sweep, Help, Version };

struct CommandLine {
  Mode mode = Mode::Transcript;
  std::filesystem::path directory = ".";  // where init.txt is looked for
  std::int32_t trial = 0;                 // the trial to trace, from 0
  SweepOptions sweep;
  std::string text;  // what Help and Version print
};

struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  std::string error;  // why the arguments were refused, when commandLine is empty
};

// The arguments after the program name. Checks their form and range; whether the directory
// exists, whether the trial lies within the run and whether output files can be written is
// decided later.
ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments);

}  // namespace mtd::cli
