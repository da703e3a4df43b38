#pragma once

#include <array>
#include <span>

namespace mtd {

inline constexpr int CMD_RUN = 100;
inline constexpr int CMD_PAUSE = 101;
inline constexpr int CMD_RESET = 102;
inline constexpr int CMD_GROW = 103;
inline constexpr int CMD_LOW = 104;
inline constexpr int CMD_QUIT = 105;
inline constexpr int CMD_STEP = 106;
inline constexpr int CMD_SHOW_EVERY = 107;
inline constexpr int CMD_SETTINGS = 108;
inline constexpr int CMD_COLOURS = 109;
inline constexpr int CMD_ABOUT = 110;

// Keys of the accelerator table: function keys by virtual key, letters only in lower case.
enum class AcceleratorKey { F10, F2, F5, F6, LowerG, LowerL, LowerS };

enum class MenuItemKind {
  Command,
  Check,      // a command whose item carries a check mark that the program sets
  Separator,  // a line between groups; no command, no text
};

struct MenuItemDefinition {
  int commandId;
  const char* text;  // '&' marks the mnemonic, '\t' precedes the shortcut's name
  bool initiallyEnabled;
  MenuItemKind kind = MenuItemKind::Command;
};

inline constexpr const char* MENU_POPUP_TEXT = "File";
inline constexpr std::array<MenuItemDefinition, 11> MENU_ITEMS = {{
    {CMD_RUN, "&Run\tF5", true},
    {CMD_PAUSE, "&Pause\tF6", false},
    {CMD_STEP, "&Step\ts", false},
    {CMD_RESET, "Rese&t\tF2", false},
    {CMD_GROW, "&Grow\tg", true},
    {CMD_LOW, "&Low\tl", true},
    {0, "", false, MenuItemKind::Separator},
    {CMD_SHOW_EVERY, "Show &every block", true, MenuItemKind::Check},
    {CMD_SETTINGS, "Setti&ngs...", true},
    {0, "", false, MenuItemKind::Separator},
    {CMD_QUIT, "&Quit\tF10", true},
}};

// The second popup: what the colours mean, and the program's version and licence.
inline constexpr const char* HELP_POPUP_TEXT = "Help";
inline constexpr std::array<MenuItemDefinition, 2> HELP_MENU_ITEMS = {{
    {CMD_COLOURS, "&Colours", true},
    {CMD_ABOUT, "&About", true},
}};

struct MenuPopupDefinition {
  const char* text;
  std::span<const MenuItemDefinition> items;
};

// The menu bar, left to right.
inline constexpr std::array<MenuPopupDefinition, 2> MENU_POPUPS = {{
    {MENU_POPUP_TEXT, MENU_ITEMS},
    {HELP_POPUP_TEXT, HELP_MENU_ITEMS},
}};

struct AcceleratorEntry {
  AcceleratorKey key;
  int commandId;
};

inline constexpr std::array<AcceleratorEntry, 7> ACCELERATORS = {{
    {AcceleratorKey::F10, CMD_QUIT},
    {AcceleratorKey::F2, CMD_RESET},
    {AcceleratorKey::F5, CMD_RUN},
    {AcceleratorKey::F6, CMD_PAUSE},
    {AcceleratorKey::LowerG, CMD_GROW},
    {AcceleratorKey::LowerL, CMD_LOW},
    {AcceleratorKey::LowerS, CMD_STEP},
}};

}  // namespace mtd
