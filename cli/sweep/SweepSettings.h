#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/SimCommand.h"
#include "cli/SweepOptions.h"

namespace mtd::cli {

// One code a sweep runs: its name in the outputs, where it came from and its points.
struct SweepCurve {
  std::string name;
  LoadedCode code;
  std::vector<double> p;  // in order
};

// Everything that decides a sweep's counts, and what ran it: written at the top of the table,
// the CSV and the JSON so that a curve can be reproduced.
struct SweepSettings {
  std::string version;      // the program's
  std::string commandLine;  // as typed, quoted for a shell where needed
  std::vector<SweepCurve> curves;
  SweepOptions options;
  std::int64_t batchFrames = 0;  // the stop rules are tested at batch ends
  std::string lanes;             // the engine's lane path, e.g. "avx512, 512 frames side by side"
};

// The settings as comment lines starting with '#'.
std::string settingsComment(const SweepSettings& settings);

// Names for the codes of a sweep: the last part of each directory ("default" for the current
// one), made unique by the whole path where two share it.
std::vector<std::string> curveNames(const std::vector<LoadedCode>& codes);

}  // namespace mtd::cli
