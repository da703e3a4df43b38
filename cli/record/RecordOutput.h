#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/PendingFile.h"

namespace mtd::cli::record {

// Where the recording goes. A new or regular file is written under a temporary name and renamed
// onto its target when complete; anything else that exists (a terminal, a pipe, /dev/null) is
// written directly and never replaced.
class RecordOutput {
 public:
  // Null, with a message naming the output, when it cannot be written.
  static std::unique_ptr<RecordOutput> open(const std::filesystem::path& target,
                                            std::string& error);
  ~RecordOutput();
  RecordOutput(const RecordOutput&) = delete;
  RecordOutput& operator=(const RecordOutput&) = delete;

  std::FILE* stream() const;
  // The path another program writes to: the temporary file, or the target itself.
  std::filesystem::path writtenPath() const;
  bool seekable() const { return pending_ != nullptr; }
  // Closes the stream for another program to write the path.
  void closeStream();
  // Completes the output: renames the temporary file onto the target. False, with the reason,
  // on a write error.
  bool commit(std::string& error);

 private:
  RecordOutput() = default;

  std::filesystem::path target_;
  std::unique_ptr<PendingFile> pending_;
  std::FILE* direct_ = nullptr;
};

}  // namespace mtd::cli::record
