#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/ConfigurationSnapshot.h"
#include "cli/SweepOptions.h"

namespace mtd::cli {

// The code of one configuration directory, as a sweep runs it.
struct LoadedCode {
  std::filesystem::path directory;
  SimParams params;
  std::string source;  // where the code came from, for the output's header
};

// What a program does in each mode. A program without the run modes (transcript and trial
// trace) leaves them empty and refuses them; each mode links only the code it draws on.
struct ProgramModes {
  const char* name = "mtd-sim";  // in its messages, --help and --version
  std::function<int(Simulation&, const ConfigurationSnapshot&)> transcript;
  std::function<int(Simulation&, const ConfigurationSnapshot&, std::int32_t trial)> trialTrace;
  std::function<int(const std::vector<LoadedCode>&, const SweepOptions&)> sweep;
};

// The command line, the configuration and the mode it asks for. Returns the exit status.
int runSimCommand(int argc, char** argv, const ProgramModes& modes);

}  // namespace mtd::cli
