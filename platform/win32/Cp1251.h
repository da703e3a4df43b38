#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace mtd {

// A text in the Windows-1251 code page, NUL-terminated, made at compile time.
template <std::size_t Capacity>
struct Cp1251Text {
  std::array<char, Capacity> bytes{};
  std::size_t length = 0;
  // false when a character had no Windows-1251 byte and became '?', or the text was cut
  bool complete = true;

  constexpr const char* c_str() const { return bytes.data(); }
};

// Converts UTF-8 made of ASCII and the Russian alphabet (А..я, Ё, ё) to Windows-1251, which
// the ANSI window functions expect of a Russian text. Capacity must exceed the UTF-8 length.
template <std::size_t Capacity>
constexpr Cp1251Text<Capacity> toCp1251(std::string_view utf8) {
  Cp1251Text<Capacity> out;
  auto put = [&out](unsigned value) {
    if (out.length + 1 < Capacity) {
      out.bytes[out.length++] = static_cast<char>(value);
    } else {
      out.complete = false;
    }
  };
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      put(lead);
      continue;
    }
    const unsigned next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    const bool twoBytes = (lead & 0xE0) == 0xC0 && (next & 0xC0) == 0x80;
    const unsigned codePoint = twoBytes ? ((lead & 0x1F) << 6) | (next & 0x3F) : 0;
    if (twoBytes) ++i;
    if (codePoint >= 0x410 && codePoint <= 0x44F) {
      put(0xC0 + (codePoint - 0x410));  // А..я lie in one run in both encodings
    } else if (codePoint == 0x401) {
      put(0xA8);  // Ё
    } else if (codePoint == 0x451) {
      put(0xB8);  // ё
    } else {
      put('?');
      out.complete = false;
      // Skip the continuation bytes of a longer sequence so it yields a single '?'.
      while (!twoBytes && i + 1 < utf8.size() &&
             (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
        ++i;
      }
    }
  }
  out.bytes[out.length] = '\0';
  return out;
}

}  // namespace mtd
