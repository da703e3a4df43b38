#include "core/FormattedScan.h"

#include <cstdlib>
#include <limits>

namespace mtd {

bool isScanSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void ScanInput::skipSpace() {
  while (!atEnd() && isScanSpace(peek())) ++pos_;
}

namespace {
bool isDigit(int c) { return c >= '0' && c <= '9'; }
}  // namespace

// Out-of-range values saturate at the 32-bit limits; the loader's limits then reject them.
bool ScanInput::scanInt(std::int32_t& value) {
  skipSpace();
  bool negative = false;
  if (peek() == '+' || peek() == '-') {
    negative = peek() == '-';
    ++pos_;
  }
  if (!isDigit(peek())) return false;
  std::int64_t magnitude = 0;
  constexpr std::int64_t cap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  while (isDigit(peek())) {
    magnitude = magnitude * 10 + (peek() - '0');
    if (magnitude > cap) magnitude = cap;
    ++pos_;
  }
  std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > std::numeric_limits<std::int32_t>::max()) {
    signedValue = std::numeric_limits<std::int32_t>::max();
  }
  value = static_cast<std::int32_t>(signedValue);
  return true;
}

namespace {
bool startsWithNoCase(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = text[pos + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}
}  // namespace

// Takes the longest prefix that is a decimal number (or inf, infinity, nan) and converts it to
// the nearest single-precision value, as strtof does.
bool ScanInput::scanFloat(float& value) {
  skipSpace();
  const std::size_t start = pos_;
  std::size_t p = pos_;
  if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
  std::size_t end = p;
  if (startsWithNoCase(text_, p, "infinity")) {
    end = p + 8;
  } else if (startsWithNoCase(text_, p, "inf") || startsWithNoCase(text_, p, "nan")) {
    end = p + 3;
  } else {
    std::size_t q = p;
    std::size_t digits = 0;
    while (q < text_.size() && isDigit(static_cast<unsigned char>(text_[q]))) ++q, ++digits;
    if (q < text_.size() && text_[q] == '.') {
      ++q;
      while (q < text_.size() && isDigit(static_cast<unsigned char>(text_[q]))) ++q, ++digits;
    }
    if (digits == 0) {
      pos_ = p;  // the sign, if any, is consumed as the C library does
      return false;
    }
    end = q;
    if (q < text_.size() && (text_[q] == 'e' || text_[q] == 'E')) {
      std::size_t r = q + 1;
      if (r < text_.size() && (text_[r] == '+' || text_[r] == '-')) ++r;
      if (r < text_.size() && isDigit(static_cast<unsigned char>(text_[r]))) {
        while (r < text_.size() && isDigit(static_cast<unsigned char>(text_[r]))) ++r;
        end = r;
      }
    }
  }
  const std::string token(text_.substr(start, end - start));
  value = std::strtof(token.c_str(), nullptr);
  pos_ = end;
  return true;
}

bool ScanInput::scanWord(std::string& word) {
  skipSpace();
  if (atEnd()) return false;
  const std::size_t start = pos_;
  while (!atEnd() && !isScanSpace(peek())) ++pos_;
  word.assign(text_.substr(start, pos_ - start));
  return true;
}

int ScanInput::scan(std::string_view format, std::span<const ScanField> fields) {
  int assigned = 0;
  std::size_t next = 0;
  for (std::size_t f = 0; f < format.size(); ++f) {
    const char c = format[f];
    if (isScanSpace(static_cast<unsigned char>(c))) {
      skipSpace();
      continue;
    }
    if (c == '%' && f + 1 < format.size()) {
      const char conv = format[++f];
      if (next >= fields.size()) return assigned;
      bool ok = false;
      const ScanField& field = fields[next++];
      if (conv == 'd') {
        std::int32_t v = 0;
        ok = scanInt(v);
        if (ok) *std::get<std::int32_t*>(field) = v;
      } else if (conv == 'f') {
        float v = 0.0f;
        ok = scanFloat(v);
        if (ok) *std::get<float*>(field) = v;
      } else if (conv == 's') {
        ok = scanWord(*std::get<std::string*>(field));
      }
      if (!ok) return assigned;
      ++assigned;
      continue;
    }
    if (peek() != static_cast<unsigned char>(c)) return assigned;
    ++pos_;
  }
  return assigned;
}

bool ScanInput::readLine(std::string& buffer) {
  if (atEnd()) return false;
  const std::size_t start = pos_;
  while (!atEnd() && pos_ - start < static_cast<std::size_t>(LINE_BUFFER_SIZE - 1)) {
    const char c = text_[pos_++];
    if (c == '\n') break;
  }
  buffer.assign(text_.substr(start, pos_ - start));
  return true;
}

}  // namespace mtd
