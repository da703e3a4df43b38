#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "core/Limits.h"

namespace mtd {

// One conversion target of a formatted scan: %d, %f or %s.
using ScanField = std::variant<std::int32_t*, float*, std::string*>;

// Reads text the way the C library's formatted input reads a stream, so that a configuration
// file means the same on every platform: literals must match, a blank matches any white space,
// conversions skip white space, and the first character that does not fit stays unread.
class ScanInput {
 public:
  explicit ScanInput(std::string_view text) : text_(text) {}

  // Returns the number of fields assigned; fields after a failure keep their values.
  int scan(std::string_view format, std::span<const ScanField> fields);

  // Reads at most LINE_BUFFER_SIZE - 1 characters, stopping after the first line feed, which
  // is kept. At the end of the text with nothing read, the buffer is left unchanged.
  bool readLine(std::string& buffer);

  bool atEnd() const { return pos_ >= text_.size(); }

 private:
  bool scanInt(std::int32_t& value);
  bool scanFloat(float& value);
  bool scanWord(std::string& word);
  void skipSpace();
  int peek() const { return atEnd() ? -1 : static_cast<unsigned char>(text_[pos_]); }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool isScanSpace(int c);

}  // namespace mtd
