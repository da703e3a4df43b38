#include "core/ConfigurationWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/ConfigurationFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mtd {

namespace {

namespace fs = std::filesystem;

std::string failure(const fs::path& path, const std::string& why) {
  return path.filename().string() + " was not written: " + why;
}

// Whether the path is free to be replaced: absent, or a regular file (not a link to one).
std::optional<std::string> replaceable(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (status.type() == fs::file_type::not_found) return std::nullopt;
  if (error) return path.filename().string() + " cannot be examined (" + error.message() + ")";
  if (status.type() == fs::file_type::regular) return std::nullopt;
  return path.filename().string() + " is not a regular file and is left as it is";
}

// A new file of the text under a name no other file has; its path, or why there is none.
struct TemporaryFile {
  fs::path path;
  std::string problem;
};

#ifdef _WIN32

TemporaryFile writeTemporary(const fs::path& directory, std::string_view text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path path = directory / ("init.txt.new" + std::to_string(attempt));
    std::error_code error;
    if (fs::exists(fs::symlink_status(path, error))) continue;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return {{}, "cannot create a file in " + directory.string()};
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      fs::remove(path, error);
      return {{}, "cannot write to " + directory.string()};
    }
    return {path, {}};
  }
  return {{}, "no free temporary name in " + directory.string()};
}

#else

TemporaryFile writeTemporary(const fs::path& directory, std::string_view text) {
  std::string pattern = (directory / "init.txt.XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return {{}, std::strerror(errno) + std::string(" (") + directory.string() + ")"};
  const fs::path path = pattern;
  std::size_t written = 0;
  int savedErrno = 0;
  while (written < text.size()) {
    const ssize_t got = ::write(fd, text.data() + written, text.size() - written);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      savedErrno = got < 0 ? errno : EIO;
      break;
    }
    written += static_cast<std::size_t>(got);
  }
  if (savedErrno == 0 && ::fsync(fd) != 0) savedErrno = errno;
  // mkstemp makes the file for its owner alone; a configuration is readable like any file.
  ::fchmod(fd, 0644);
  if (::close(fd) != 0 && savedErrno == 0) savedErrno = errno;
  if (savedErrno != 0) {
    ::unlink(path.c_str());
    return {{}, std::strerror(savedErrno)};
  }
  return {path, {}};
}

#endif

}  // namespace

std::optional<std::string> writeConfigurationFile(const fs::path& directory,
                                                  std::string_view text) {
  const fs::path target = directory / CONFIG_FILE_NAME;
  const fs::path backup = directory / CONFIG_BACKUP_NAME;
  if (auto refused = replaceable(target)) return failure(target, *refused);

  TemporaryFile fresh = writeTemporary(directory, text);
  if (fresh.path.empty()) return failure(target, fresh.problem);

  std::error_code error;
  if (fs::exists(fs::symlink_status(target, error))) {
    if (auto refused = replaceable(backup)) {
      fs::remove(fresh.path, error);
      return failure(target, "no copy of the old file could be kept: " + *refused);
    }
    fs::copy_file(target, backup, fs::copy_options::overwrite_existing, error);
    if (error) {
      const std::string why = error.message();
      fs::remove(fresh.path, error);
      return failure(target, "no copy of the old file could be kept as " +
                                 std::string(CONFIG_BACKUP_NAME) + " (" + why + ")");
    }
  }
  fs::rename(fresh.path, target, error);
  if (error) {
    const std::string why = error.message();
    fs::remove(fresh.path, error);
    return failure(target, why);
  }
  return std::nullopt;
}

}  // namespace mtd
