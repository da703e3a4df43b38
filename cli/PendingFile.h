#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace mtd::cli {

// An output file written under a temporary name next to its target and renamed onto it only
// when complete, so that a reader never sees half a file. Created before the long work starts,
// it proves early that the target's directory can be written. Without commit() the temporary
// file is removed.
//
// A symbolic link is followed to the file it names, which is replaced while the link stays.
// What is not a regular file (a device such as /dev/null, a pipe, "-" for stdout, anything
// under /dev or /proc) is written directly: nothing can be renamed over it.
class PendingFile {
 public:
  // Refuses (with a message naming the option and the path) when the file cannot be made.
  static std::unique_ptr<PendingFile> create(const std::string& option,
                                             const std::filesystem::path& target,
                                             std::string& error);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::filesystem::path& target() const { return target_; }
  // Where the content is written until commit(): the temporary file, or the target itself.
  const std::filesystem::path& temporaryPath() const { return temporary_; }
  bool direct() const { return direct_; }
  // The open temporary file; nothing once closed.
  std::FILE* stream() const { return stream_; }
  // Closes the stream, for another program to write the temporary file; false on a write error.
  bool close();
  // Closes, then renames onto the target; false (with the reason in `error`) on failure.
  bool commit(std::string& error);

  // Whether two output paths name the same file, so that one output would overwrite the other.
  static bool sameTarget(const std::filesystem::path& a, const std::filesystem::path& b);

 private:
  PendingFile(std::string option, std::filesystem::path target, std::filesystem::path temporary,
              std::FILE* stream, bool direct);

  std::string option_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::filesystem::path renameTarget_;  // the target with its symbolic links followed
  std::FILE* stream_ = nullptr;
  bool direct_ = false;
  int slot_ = -1;  // where a second signal finds the temporary file
  bool writeFailed_ = false;
  bool committed_ = false;
};

}  // namespace mtd::cli
