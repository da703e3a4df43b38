#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mtd::e2e {

// The block length of the configuration in `directory`, loaded as the program loads it
// (init.txt, or the defaults where it is missing).
std::int32_t configuredBlockLength(const std::string& directory);

// The information error positions of the first block a run of that configuration shows, as
// its animated noise pass paints them: the run decodes each trial silently first and replays
// only the blocks it selects.
std::vector<std::int32_t> firstShownErrors(const std::string& directory);

}  // namespace mtd::e2e
