#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace mtd {

inline constexpr const char* CONFIG_FILE_NAME = "init.txt";

// A configuration is a few hundred bytes; a file past this bound is refused unread.
inline constexpr std::size_t MAX_CONFIG_FILE_BYTES = std::size_t{16} << 20;

// init.txt as found in a directory: its bytes, or why there are none.
struct ConfigurationFile {
  enum class State {
    Missing,     // no such file: the defaults, silently
    Unreadable,  // there, but not a regular file or not openable: the defaults, with a note
    TooLarge,    // past MAX_CONFIG_FILE_BYTES: refused
    Read,
  };
  State state = State::Missing;
  std::string bytes;    // the whole file, when Read
  std::string problem;  // why, naming init.txt, when Unreadable or TooLarge
};

// Reads init.txt from the directory. Only a regular file is read, and nothing blocks: a FIFO
// without a writer, a device or a directory named init.txt is reported as unreadable.
ConfigurationFile readConfigurationFile(const std::filesystem::path& directory);

}  // namespace mtd
