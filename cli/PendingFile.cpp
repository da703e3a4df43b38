#include "cli/PendingFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "cli/Interrupt.h"
#include "cli/OutputFileSystem.h"

namespace mtd::cli {

namespace {

constexpr int MOST_LINKS = 40;  // as the kernel allows in one path

bool systemPath(const std::filesystem::path& path) { return isSystemDevicePath(path); }

// The file a chain of symbolic links ends at, and whether any step is a system path (whose
// links, such as /dev/stdout, name a stream rather than a file to replace).
std::filesystem::path followLinks(std::filesystem::path path, bool& system) {
  system = systemPath(path);
  std::error_code error;
  for (int i = 0; i < MOST_LINKS && std::filesystem::is_symlink(path, error); ++i) {
    const std::filesystem::path link = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = link.is_absolute() ? link : path.parent_path() / link;
    system = system || systemPath(path);
  }
  return path;
}

// "-" and the names of this process's standard output: opened again by name, a file behind
// them would be truncated under the table that stdout carries.
bool isStdout(const std::filesystem::path& path) {
  const std::string name = path.lexically_normal().string();
  return name == "-" || name == "/dev/stdout" || name == "/dev/fd/1" || name == "/proc/self/fd/1";
}

std::string reason() { return std::string(" (") + std::strerror(errno) + ")"; }

}  // namespace

PendingFile::PendingFile(std::string option, std::filesystem::path target,
                         std::filesystem::path temporary, std::FILE* stream, bool direct)
    : option_(std::move(option)),
      target_(std::move(target)),
      temporary_(std::move(temporary)),
      stream_(stream),
      direct_(direct) {
  if (!direct_) slot_ = rememberTemporaryFile(temporary_.string());
}

std::unique_ptr<PendingFile> PendingFile::create(const std::string& option,
                                                 const std::filesystem::path& target,
                                                 std::string& error) {
  const std::string named = option + " " + target.string() + ": ";
  if (isStdout(target)) {
    return std::unique_ptr<PendingFile>(new PendingFile(option, target, target, stdout, true));
  }
  bool system = false;
  const std::filesystem::path file = followLinks(target, system);
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::status(file, ignored);
  if (std::filesystem::is_directory(status)) {
    error = named + "is a directory";
    return nullptr;
  }
  if (system || (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))) {
    std::FILE* stream = std::fopen(file.string().c_str(), "w");
    if (stream == nullptr) {
      error = named + "cannot be written" + reason();
      return nullptr;
    }
    return std::unique_ptr<PendingFile>(new PendingFile(option, target, file, stream, true));
  }
  if (!file.has_filename()) {
    error = named + "names no file";
    return nullptr;
  }
  // Hidden, and in the file's own directory so that the final rename cannot cross devices.
  const std::filesystem::path directory =
      file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::string hidden = ".";  // built up in steps: GCC 12 warns falsely about "." + name
  hidden += file.filename().string();
  hidden += ".XXXXXX";
  std::string pattern = (directory / hidden).string();
  std::FILE* stream = createUniqueFile(pattern);
  if (stream == nullptr) {
    error = named + "cannot be written" + reason();
    return nullptr;
  }
  auto pending =
      std::unique_ptr<PendingFile>(new PendingFile(option, target, pattern, stream, false));
  pending->renameTarget_ = file;
  return pending;
}

PendingFile::~PendingFile() {
  close();
  if (!committed_ && !direct_) {
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
  }
  forgetTemporaryFile(slot_);
}

bool PendingFile::close() {
  if (stream_ == nullptr) return !writeFailed_;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) writeFailed_ = true;
  if (stream_ != stdout && std::fclose(stream_) != 0) writeFailed_ = true;
  stream_ = nullptr;
  return !writeFailed_;
}

bool PendingFile::commit(std::string& error) {
  if (!close()) {
    error = option_ + " " + target_.string() + ": cannot be written";
    return false;
  }
  if (direct_) return committed_ = true;
  std::string failure;
  if (!replaceFile(temporary_, renameTarget_, failure)) {
    error = option_ + " " + target_.string() + ": cannot be written (" + failure + ")";
    return false;
  }
  committed_ = true;
  return true;
}

bool PendingFile::sameTarget(const std::filesystem::path& a, const std::filesystem::path& b) {
  if (isStdout(a) || isStdout(b)) return isStdout(a) && isStdout(b);
  bool system = false;
  const std::filesystem::path fileA = followLinks(a, system);
  const std::filesystem::path fileB = followLinks(b, system);
  std::error_code error;
  if (std::filesystem::equivalent(fileA, fileB, error) && !error) {
    // Writing twice into a device such as /dev/null loses nothing.
    return std::filesystem::is_regular_file(fileA, error);
  }
  return std::filesystem::weakly_canonical(fileA, error) ==
         std::filesystem::weakly_canonical(fileB, error);
}

}  // namespace mtd::cli
