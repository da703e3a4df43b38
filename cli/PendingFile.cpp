#include "cli/PendingFile.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace mtd::cli {

std::unique_ptr<PendingFile> PendingFile::create(const std::string& option,
                                                 const std::filesystem::path& target,
                                                 std::string& error) {
  const std::string named = option + " " + target.string() + ": ";
  std::error_code ignored;
  if (std::filesystem::is_directory(target, ignored)) {
    error = named + "is a directory";
    return nullptr;
  }
  if (!target.has_filename()) {
    error = named + "names no file";
    return nullptr;
  }
  // Hidden, and in the target's own directory so that the final rename cannot cross devices.
  const std::filesystem::path directory =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string hidden = ".";
  hidden += target.filename().string();
  hidden += ".XXXXXX";
  std::string pattern = (directory / hidden).string();
  const int descriptor = mkstemp(pattern.data());
  if (descriptor < 0) {
    error = named + "cannot be written (" + std::strerror(errno) + ")";
    return nullptr;
  }
  std::FILE* stream = fdopen(descriptor, "w");
  if (stream == nullptr) {
    error = named + "cannot be written (" + std::strerror(errno) + ")";
    ::close(descriptor);
    unlink(pattern.c_str());
    return nullptr;
  }
  // mkstemp makes the file private; an output file gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(descriptor, 0666 & ~mask);
  return std::unique_ptr<PendingFile>(new PendingFile(option, target, pattern, stream));
}

PendingFile::~PendingFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (!committed_) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
}

bool PendingFile::close() {
  if (stream_ == nullptr) return !writeFailed_;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) writeFailed_ = true;
  if (std::fclose(stream_) != 0) writeFailed_ = true;
  stream_ = nullptr;
  return !writeFailed_;
}

bool PendingFile::commit(std::string& error) {
  if (!close()) {
    error = option_ + " " + target_.string() + ": cannot be written";
    return false;
  }
  std::error_code failure;
  std::filesystem::rename(temporary_, target_, failure);
  if (failure) {
    error = option_ + " " + target_.string() + ": cannot be written (" + failure.message() + ")";
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace mtd::cli
