#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mtd {

inline constexpr const char* CONFIG_BACKUP_NAME = "init.txt.bak";

// Replaces init.txt in the directory with the text. The text goes to a fresh temporary file
// first, which is then renamed over init.txt, so that init.txt is at every moment either the
// old file or the whole new one. A regular init.txt is copied to init.txt.bak before. Nothing
// that is not a regular file (a directory, a FIFO, a link) is ever replaced, neither init.txt
// nor init.txt.bak. Returns why the file could not be written, naming it; nothing on success.
std::optional<std::string> writeConfigurationFile(const std::filesystem::path& directory,
                                                  std::string_view text);

}  // namespace mtd
