#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SweepOptions.h"

namespace mtd::cli {

enum class Mode { Transcript, TrialTrace, Sweep, Help, Version };

struct CommandLine {
  Mode mode = Mode::Transcript;
  // Where init.txt is looked for: one directory, or one per code a sweep compares.
  std::vector<std::filesystem::path> directories{"."};
  std::int32_t trial = 0;  // the trial to trace, from 0
  SweepOptions sweep;
  std::string text;  // what Help and Version print
};

struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  std::string error;     // why the arguments were refused, when commandLine is empty
  bool inSweep = false;  // the refused arguments were a sweep's
};

// The arguments after the program name. Checks their form and range; whether the directory
// exists, whether the trial lies within the run and whether output files can be written is
// decided later.
ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments,
                                   const char* programName = "mtd-sim");

}  // namespace mtd::cli
