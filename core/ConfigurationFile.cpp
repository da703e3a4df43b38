#include "core/ConfigurationFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mtd {

namespace {

ConfigurationFile unreadable(const std::string& why) {
  return {ConfigurationFile::State::Unreadable,
          {},
          std::string(CONFIG_FILE_NAME) + ": " + why + "; defaults used"};
}

ConfigurationFile tooLarge() {
  return {ConfigurationFile::State::TooLarge,
          {},
          std::string(CONFIG_FILE_NAME) + ": larger than " +
              std::to_string(MAX_CONFIG_FILE_BYTES >> 20) +
              " MiB, too large for a configuration file; defaults used"};
}

const char* kindName(std::filesystem::file_type type) {
  switch (type) {
    case std::filesystem::file_type::directory:
      return "a directory";
    case std::filesystem::file_type::fifo:
      return "a FIFO (named pipe)";
    case std::filesystem::file_type::character:
      return "a character device";
    case std::filesystem::file_type::block:
      return "a block device";
    case std::filesystem::file_type::socket:
      return "a socket";
    default:
      return "a special file";
  }
}

ConfigurationFile notRegular(std::filesystem::file_type type) {
  return unreadable(std::string("is ") + kindName(type) + ", not a regular file");
}

#ifdef _WIN32

// Windows keeps no FIFOs or devices among a directory's files, so the type test before the
// open cannot be raced into a blocking open.
ConfigurationFile readRegularFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return unreadable("cannot be opened");
  ConfigurationFile result{ConfigurationFile::State::Read, {}, {}};
  char chunk[4096];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    result.bytes.append(chunk, static_cast<std::size_t>(file.gcount()));
    if (result.bytes.size() > MAX_CONFIG_FILE_BYTES) return tooLarge();
  }
  return result;
}

#else

std::filesystem::file_type typeOf(mode_t mode) {
  if (S_ISREG(mode)) return std::filesystem::file_type::regular;
  if (S_ISDIR(mode)) return std::filesystem::file_type::directory;
  if (S_ISFIFO(mode)) return std::filesystem::file_type::fifo;
  if (S_ISCHR(mode)) return std::filesystem::file_type::character;
  if (S_ISBLK(mode)) return std::filesystem::file_type::block;
  if (S_ISSOCK(mode)) return std::filesystem::file_type::socket;
  return std::filesystem::file_type::unknown;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The type test comes before the open so that no device is ever opened; the open does not
// block even if a FIFO took the file's place meanwhile, and the test after it catches that.
ConfigurationFile readRegularFile(const std::filesystem::path& path) {
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return {};
    return unreadable(std::string("cannot be opened (") + std::strerror(errno) + ")");
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) {
    return unreadable(std::string("cannot be examined (") + std::strerror(errno) + ")");
  }
  if (!S_ISREG(status.st_mode)) return notRegular(typeOf(status.st_mode));
  if (static_cast<std::uintmax_t>(status.st_size) > MAX_CONFIG_FILE_BYTES) return tooLarge();

  ConfigurationFile result{ConfigurationFile::State::Read, {}, {}};
  char chunk[4096];
  for (;;) {
    const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return unreadable(std::string("cannot be read (") + std::strerror(errno) + ")");
    }
    result.bytes.append(chunk, static_cast<std::size_t>(got));
    // The file may grow while it is read.
    if (result.bytes.size() > MAX_CONFIG_FILE_BYTES) return tooLarge();
  }
  return result;
}

#endif

}  // namespace

ConfigurationFile readConfigurationFile(const std::filesystem::path& directory) {
  const std::filesystem::path path = directory / CONFIG_FILE_NAME;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return {};
  if (error) return unreadable("cannot be examined (" + error.message() + ")");
  if (status.type() != std::filesystem::file_type::regular) return notRegular(status.type());
  return readRegularFile(path);
}

}  // namespace mtd
