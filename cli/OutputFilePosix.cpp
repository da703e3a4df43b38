#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/OutputFileSystem.h"

namespace mtd::cli {

bool isSystemDevicePath(const std::filesystem::path& path) {
  const std::string text = path.lexically_normal().string();
  return text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0;
}

std::FILE* createUniqueFile(std::string& pattern) {
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) return nullptr;
  std::FILE* stream = fdopen(descriptor, "w");
  if (stream == nullptr) {
    const int reason = errno;
    ::close(descriptor);
    unlink(pattern.c_str());
    errno = reason;
    return nullptr;
  }
  // mkstemp makes the file private; an output file gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  return stream;
}

bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target,
                 std::string& reason) {
  if (std::rename(source.c_str(), target.c_str()) == 0) return true;
  reason = std::strerror(errno);
  return false;
}

}  // namespace mtd::cli
