#include "cli/record/RecordOutput.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace mtd::cli::record {

namespace {
constexpr const char* OUTPUT_NAME = "OUTPUT";
}

std::unique_ptr<RecordOutput> RecordOutput::open(const std::filesystem::path& target,
                                                 std::string& error) {
  std::unique_ptr<RecordOutput> output(new RecordOutput());
  output->target_ = target;
  std::error_code ignored;
  const auto status = std::filesystem::status(target, ignored);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
      !std::filesystem::is_directory(status)) {
    output->direct_ = std::fopen(target.c_str(), "wb");
    if (output->direct_ == nullptr) {
      error = std::string(OUTPUT_NAME) + " " + target.string() + ": cannot be written (" +
              std::strerror(errno) + ")";
      return nullptr;
    }
    return output;
  }
  output->pending_ = PendingFile::create(OUTPUT_NAME, target, error);
  if (!output->pending_) return nullptr;
  return output;
}

RecordOutput::~RecordOutput() {
  if (direct_ != nullptr) std::fclose(direct_);
}

std::FILE* RecordOutput::stream() const { return pending_ ? pending_->stream() : direct_; }

std::filesystem::path RecordOutput::writtenPath() const {
  return pending_ ? pending_->temporaryPath() : target_;
}

void RecordOutput::closeStream() {
  if (pending_) {
    pending_->close();
  } else if (direct_ != nullptr) {
    std::fclose(direct_);
    direct_ = nullptr;
  }
}

bool RecordOutput::commit(std::string& error) {
  if (pending_) return pending_->commit(error);
  if (direct_ == nullptr) return true;
  const bool failed = std::fflush(direct_) != 0 || std::ferror(direct_);
  std::fclose(direct_);
  direct_ = nullptr;
  if (failed) error = std::string(OUTPUT_NAME) + " " + target_.string() + ": cannot be written";
  return !failed;
}

}  // namespace mtd::cli::record
