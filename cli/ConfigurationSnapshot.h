#pragma once

#include <filesystem>

#include "core/Configuration.h"

namespace mtd::cli {

// init.txt as it was when the runner started. The up-front load that decides whether to run
// and every later load of the run read these same bytes, so an edit made meanwhile cannot
// slip a file past the check.
class ConfigurationSnapshot {
 public:
  explicit ConfigurationSnapshot(const std::filesystem::path& directory)
      : file_(readConfigurationFile(directory)) {}

  LoadResult loadInto(Simulation& sim) const { return loadConfigurationFile(sim, file_); }
  const ConfigurationFile& file() const { return file_; }

 private:
  ConfigurationFile file_;
};

}  // namespace mtd::cli
