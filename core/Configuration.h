#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/Simulation.h"

namespace mtd {

inline constexpr const char* CONFIG_FILE_NAME = "init.txt";

struct LoadResult {
  bool fileFound = false;
  bool accepted = false;  // the file was read and its values are in use
  std::string rejection;  // why a marked file was refused; empty otherwise
};

// Loads `init.txt` from the directory, or the defaults when it is missing, unmarked or breaks a
// limit; then derives the run's values, re-seeds the generator and clears the block tally.
LoadResult loadConfiguration(Simulation& sim, const std::filesystem::path& directory);

// The same from the file's bytes; no text means the file could not be opened.
LoadResult loadConfigurationText(Simulation& sim, std::optional<std::string_view> fileText);

// The bytes of `init.txt` in the directory, or nothing when it cannot be opened. Callers that
// must decide on a file and then load it again (the headless runner) read it once with this.
std::optional<std::string> readConfigurationFile(const std::filesystem::path& directory);

// The reason a configuration breaks a limit, or nothing when it keeps all of them.
std::optional<std::string> findLimitBreach(const SimParams& params, std::size_t ndnWordLength);

}  // namespace mtd
