// The Windows resources (resources/mtd-demo.rc and the icon it names) must carry the menu and
// accelerators that the run control's Menu.h defines: the .exe's grayed items and keys are the
// ones the commands rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "control/Menu.h"
#include "core/SettingsForm.h"

namespace mtd {
namespace {

std::filesystem::path resources() { return std::filesystem::path(MTD_SOURCE_DIR) / "resources"; }

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The lines between BEGIN and END after the line that opens the block.
std::vector<std::string> blockAfter(const std::string& script, const std::string& opener) {
  std::vector<std::string> lines;
  const auto start = script.find(opener);
  if (start == std::string::npos) return lines;
  std::istringstream in(script.substr(start));
  std::string line;
  int depth = 0;
  std::getline(in, line);  // the opener itself
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t");
    const std::string trimmed = first == std::string::npos ? "" : line.substr(first);
    if (trimmed.rfind("BEGIN", 0) == 0) {
      ++depth;
    } else if (trimmed.rfind("END", 0) == 0) {
      if (--depth == 0) break;
    } else if (depth > 0 && !trimmed.empty() && trimmed.rfind("//", 0) != 0) {
      lines.push_back(trimmed);
    }
  }
  return lines;
}

// The resource compiler's "\t" escape, as the menu shows it.
std::string unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
      out += '\t';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

const char* accelerator(AcceleratorKey key) {
  switch (key) {
    case AcceleratorKey::F10:
      return "VK_F10";
    case AcceleratorKey::F2:
      return "VK_F2";
    case AcceleratorKey::F5:
      return "VK_F5";
    case AcceleratorKey::F6:
      return "VK_F6";
    case AcceleratorKey::LowerG:
      return "\"g\"";
    case AcceleratorKey::LowerL:
      return "\"l\"";
    case AcceleratorKey::LowerS:
      return "\"s\"";
  }
  return "";
}

bool isFunctionKey(AcceleratorKey key) {
  return key != AcceleratorKey::LowerG && key != AcceleratorKey::LowerL &&
         key != AcceleratorKey::LowerS;
}

class ResourceScript : public ::testing::Test {
 protected:
  std::string script = readFile(resources() / "mtd-demo.rc");
};

TEST_F(ResourceScript, EverythingIsRussianAndTheIconIsMyicon) {
  ASSERT_FALSE(script.empty());
  EXPECT_NE(script.find("LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT"), std::string::npos);
  EXPECT_EQ(script.find("LANGUAGE", script.find("LANGUAGE") + 1), std::string::npos)
      << "a second LANGUAGE statement would change the language of what follows";
  EXPECT_NE(script.find("MYICON ICON \"myicon.ico\""), std::string::npos);
}

TEST_F(ResourceScript, MenuHasThePopupsAndItemsAndSeparatorsOfTheRunControlInTheirOrder) {
  const auto menu = blockAfter(script, "MYMENU MENU");
  ASSERT_FALSE(menu.empty());
  const std::regex item(R"re(MENUITEM "(.*)", (\d+)(, GRAYED)?)re");
  std::size_t line = 0;
  for (const MenuPopupDefinition& popup : MENU_POPUPS) {
    ASSERT_LT(line, menu.size());
    EXPECT_EQ(menu[line++], std::string("POPUP \"") + popup.text + "\"");
    for (const MenuItemDefinition& expected : popup.items) {
      ASSERT_LT(line, menu.size()) << "missing: " << expected.text;
      const std::string& entry = menu[line++];
      if (expected.kind == MenuItemKind::Separator) {
        EXPECT_EQ(entry, "MENUITEM SEPARATOR");
        continue;
      }
      std::smatch parts;
      ASSERT_TRUE(std::regex_match(entry, parts, item)) << entry;
      EXPECT_EQ(unescape(parts[1]), expected.text);
      EXPECT_EQ(std::stoi(parts[2]), expected.commandId);
      EXPECT_EQ(!parts[3].matched, expected.initiallyEnabled) << entry;
    }
  }
  EXPECT_EQ(line, menu.size()) << "the script's menu has more than the run control's";
}

// The settings dialog's labels carry the names its messages give the fields, at the ids the
// program sets them by (each edit's id plus 100), in the order of the fields.
TEST_F(ResourceScript, SettingsDialogLabelsAreTheFieldNamesOfTheMessages) {
  const auto dialog = blockAfter(script, "MYSETTINGS DIALOGEX");
  ASSERT_FALSE(dialog.empty());
  std::vector<std::string> labels;
  for (const std::string& line : dialog) {
    if (line.rfind("RTEXT", 0) == 0 && line.find("\", -1,") == std::string::npos) {
      labels.push_back(line);
    }
  }
  ASSERT_EQ(labels.size(), static_cast<std::size_t>(SETTINGS_FIELD_COUNT));
  for (int i = 0; i < SETTINGS_FIELD_COUNT; ++i) {
    const std::string expected = std::string("RTEXT \"") +
                                 std::string(settingsFieldLabel(static_cast<SettingsField>(i))) +
                                 "\", " + std::to_string(1101 + i) + ",";
    EXPECT_EQ(labels[i].rfind(expected, 0), 0u) << labels[i];
  }
}

TEST_F(ResourceScript, AcceleratorsAreTheRunControlsInTheirOrder) {
  const auto table = blockAfter(script, "MYMENU ACCELERATORS");
  ASSERT_EQ(table.size(), ACCELERATORS.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    const AcceleratorEntry& entry = ACCELERATORS[i];
    // Function keys by virtual key; letters as characters, so the upper case does not act.
    const std::string expected = std::string(accelerator(entry.key)) + ", " +
                                 std::to_string(entry.commandId) +
                                 (isFunctionKey(entry.key) ? ", VIRTKEY" : "") + ", NOINVERT";
    EXPECT_EQ(table[i], expected);
  }
}

// The icon directory: two entries, 32x32 then 16x16, each a 16-colour (4-bit) bitmap.
TEST(IconFile, HoldsA32And16PixelImageOf16Colours) {
  const std::string icon = readFile(resources() / "myicon.ico");
  ASSERT_GE(icon.size(), 6u + 2 * 16);
  auto byte = [&icon](std::size_t at) {
    return static_cast<unsigned>(static_cast<std::uint8_t>(icon[at]));
  };
  auto word = [&byte](std::size_t at) { return byte(at) | (byte(at + 1) << 8); };
  auto dword = [&word](std::size_t at) { return word(at) | (word(at + 2) << 16); };
  EXPECT_EQ(word(0), 0u);
  EXPECT_EQ(word(2), 1u) << "type 1: icon";
  ASSERT_EQ(word(4), 2u);
  const unsigned sizes[] = {32, 16};
  for (std::size_t entry = 0; entry < 2; ++entry) {
    const std::size_t at = 6 + 16 * entry;
    EXPECT_EQ(byte(at), sizes[entry]);
    EXPECT_EQ(byte(at + 1), sizes[entry]);
    EXPECT_EQ(byte(at + 2), 16u) << "colours";
    EXPECT_EQ(word(at + 6), 4u) << "bits per pixel";
    const std::size_t image = dword(at + 12);
    ASSERT_LE(image + 40, icon.size());
    EXPECT_EQ(dword(image), 40u) << "a BITMAPINFOHEADER, not a PNG";
    EXPECT_EQ(dword(image + 4), sizes[entry]);
    EXPECT_EQ(dword(image + 8), 2 * sizes[entry]) << "colour rows and mask rows";
    EXPECT_EQ(word(image + 14), 4u);
  }
}

}  // namespace
}  // namespace mtd
