#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/ConfigurationFile.h"
#include "core/Simulation.h"

namespace mtd {

struct LoadResult {
  bool fileFound = false;  // init.txt was there and was read
  bool marked = false;     // it ends in the "check" line
  bool accepted = false;   // the file was read and its values are in use
  // Why init.txt was refused (too large, or a marked file breaking a limit); empty otherwise.
  std::string rejection;
  // Why an init.txt that is there could not be read; the defaults apply as for a missing file.
  std::string unreadable;
};

// Loads `init.txt` from the directory, or the defaults when it is missing, unmarked or breaks a
// limit; then derives the run's values, re-seeds the generator and clears the block tally.
LoadResult loadConfiguration(Simulation& sim, const std::filesystem::path& directory);

// The same from the file's bytes; no text means the file could not be opened.
LoadResult loadConfigurationText(Simulation& sim, std::optional<std::string_view> fileText);

// The same from a file read earlier: callers that must decide on a file and then load it
// again (the headless runner) read it once with readConfigurationFile.
LoadResult loadConfigurationFile(Simulation& sim, const ConfigurationFile& file);

// The reason a configuration breaks a limit, or nothing when it keeps all of them.
std::optional<std::string> findLimitBreach(const SimParams& params, std::size_t ndnWordLength);

}  // namespace mtd
