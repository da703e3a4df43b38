#include "cli/sweep/LaneChoice.h"

#include <cstdlib>

#include "sweep/LanePaths.h"

namespace mtd::cli {

std::optional<sweep::LanePath> laneChoice(std::string& error) {
  const char* value = std::getenv("MTD_LANES");
  if (value == nullptr || *value == '\0') return sweep::widestLanePath();
  std::string reason;
  const std::optional<sweep::LanePath> path = sweep::parseLanePath(value, reason);
  if (!path) error = "MTD_LANES=" + std::string(value) + ": " + reason;
  return path;
}

}  // namespace mtd::cli
