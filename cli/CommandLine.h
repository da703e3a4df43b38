#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mtd::cli {

enum class Mode { Transcript, TrialTrace, Help, Version };

struct CommandLine {
  Mode mode = Mode::Transcript;
  std::filesystem::path directory = ".";  // where init.txt is looked for
  std::int32_t trial = 0;                 // the trial to trace, from 0
};

struct ParsedCommandLine {
  std::optional<CommandLine> commandLine;
  std::string error;  // why the arguments were refused, when commandLine is empty
};

// The arguments after the program name. Checks their form only; whether the directory exists
// and whether the trial lies within the run is decided later.
ParsedCommandLine parseCommandLine(std::span<const std::string_view> arguments);

std::string usageText();

// "mtd-sim" and the project's version, as --version prints it.
std::string versionText();

}  // namespace mtd::cli
