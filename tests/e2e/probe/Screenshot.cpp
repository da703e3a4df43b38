#include "Screenshot.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>

namespace mtd::e2e {

namespace {

// The next decimal number of a PPM header, skipping blanks and # comments.
std::optional<int> headerNumber(const std::string& bytes, std::size_t& at) {
  while (at < bytes.size()) {
    if (bytes[at] == '#') {
      while (at < bytes.size() && bytes[at] != '\n') ++at;
    } else if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
      ++at;
    } else {
      break;
    }
  }
  if (at >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[at]))) {
    return std::nullopt;
  }
  long value = 0;
  while (at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])) &&
         value < 1'000'000) {
    value = value * 10 + (bytes[at++] - '0');
  }
  return static_cast<int>(value);
}

}  // namespace

std::optional<Screenshot> Screenshot::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 2 || bytes[0] != 'P' || bytes[1] != '6') return std::nullopt;
  std::size_t at = 2;
  const auto width = headerNumber(bytes, at);
  const auto height = headerNumber(bytes, at);
  const auto maxValue = headerNumber(bytes, at);
  if (!width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  if (maxValue != 255 && maxValue != 65535) return std::nullopt;
  // 16-bit samples are big-endian; their high byte is the 8-bit value of a 24-bit screen.
  const std::size_t sampleBytes = maxValue == 255 ? 1 : 2;
  ++at;  // the single blank after the header
  const std::size_t count = static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height);
  if (bytes.size() < at + 3 * sampleBytes * count) return std::nullopt;

  Screenshot shot;
  shot.width_ = *width;
  shot.height_ = *height;
  shot.pixels_.reserve(count);
  auto sample = [&bytes](std::size_t offset) { return static_cast<std::uint8_t>(bytes[offset]); };
  for (std::size_t i = 0; i < count; ++i, at += 3 * sampleBytes) {
    shot.pixels_.push_back(Rgb{sample(at), sample(at + sampleBytes), sample(at + 2 * sampleBytes)});
  }
  return shot;
}

Rgb Screenshot::pixel(int x, int y) const {
  if (!contains(x, y)) return Rgb{};
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

}  // namespace mtd::e2e
