#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "control/MainWindow.h"
#include "platform/win32/Cp1251.h"

namespace mtd {
namespace {

template <std::size_t N>
std::string bytesOf(const Cp1251Text<N>& text) {
  return std::string(text.c_str(), text.length);
}

TEST(Cp1251, CaptionBecomesTheRussianCodePageBytes) {
  constexpr std::string_view utf8 = WINDOW_CAPTION_UTF8;
  constexpr auto caption = toCp1251<utf8.size() + 1>(utf8);
  static_assert(caption.complete);
  EXPECT_EQ(bytesOf(caption),
            "\xCC\xCD\xCE\xC3\xCE\xCF\xCE\xD0\xCE\xC3\xCE\xC2\xDB\xC9 "
            "\xC4\xC5\xCA\xCE\xC4\xC5\xD0 (mtd-demo)");
  EXPECT_EQ(caption.c_str()[caption.length], '\0');
}

TEST(Cp1251, WholeAlphabetAndTheTwoYo) {
  // А, Я, а, п, р, я: the ends of the two runs of the UTF-8 encoding; Ё and ё lie apart.
  const auto text =
      toCp1251<16>("\xD0\x90\xD0\xAF\xD0\xB0\xD0\xBF\xD1\x80\xD1\x8F\xD0\x81\xD1\x91");
  EXPECT_TRUE(text.complete);
  EXPECT_EQ(bytesOf(text), "\xC0\xDF\xE0\xEF\xF0\xFF\xA8\xB8");
}

TEST(Cp1251, CharactersWithoutAByteBecomeOneQuestionMarkEach) {
  // The euro sign (three bytes), a Greek alpha (two) and a stray continuation byte.
  const auto text = toCp1251<16>(
      "a\xE2\x82\xAC"
      "b\xCE\xB1"
      "c\x80");
  EXPECT_FALSE(text.complete);
  EXPECT_EQ(bytesOf(text), "a?b?c?");
}

TEST(Cp1251, TooSmallACapacityCutsAndSaysSo) {
  const auto text = toCp1251<4>("abcdef");
  EXPECT_FALSE(text.complete);
  EXPECT_EQ(bytesOf(text), "abc");
  EXPECT_EQ(text.c_str()[3], '\0');
}

}  // namespace
}  // namespace mtd
