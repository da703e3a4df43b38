#include "platform/fltk/CommandMenu.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cstdint>
#include <cstring>
#include <string>

namespace mtd {

namespace {

constexpr Fl_Labeltype ITEM_LABEL = FL_FREE_LABELTYPE;
constexpr int SHORTCUT_GAP = 30;

// Splits "&Run\tF5" into the text and the shortcut's name.
struct ItemText {
  std::string text;
  std::string shortcut;
};

ItemText splitItemText(const char* value) {
  const char* tab = value ? std::strchr(value, '\t') : nullptr;
  if (!tab) return ItemText{value ? value : "", ""};
  return ItemText{std::string(value, tab), std::string(tab + 1)};
}

void drawItemLabel(const Fl_Label* label, int x, int y, int width, int height, Fl_Align align) {
  const ItemText parts = splitItemText(label->value);
  fl_font(label->font, label->size);
  fl_color(label->color);
  fl_draw(parts.text.c_str(), x, y, width, height, align);
  if (!parts.shortcut.empty()) {
    fl_draw(parts.shortcut.c_str(), x, y, width, height, (align & ~FL_ALIGN_LEFT) | FL_ALIGN_RIGHT);
  }
}

void measureItemLabel(const Fl_Label* label, int& width, int& height) {
  const ItemText parts = splitItemText(label->value);
  fl_font(label->font, label->size);
  int textWidth = 0;
  int textHeight = 0;
  fl_measure(parts.text.c_str(), textWidth, textHeight, 0);
  width = textWidth;
  height = textHeight;
  if (!parts.shortcut.empty()) {
    int shortcutWidth = 0;
    int shortcutHeight = 0;
    fl_measure(parts.shortcut.c_str(), shortcutWidth, shortcutHeight, 0);
    width += SHORTCUT_GAP + shortcutWidth;
  }
}

}  // namespace

CommandMenuBar::CommandMenuBar(int x, int y, int width, int height,
                               std::function<void(int)> deliver)
    : Fl_Menu_Bar(x, y, width, height), deliver_(std::move(deliver)) {
  Fl::set_labeltype(ITEM_LABEL, drawItemLabel, measureItemLabel);
  for (const MenuPopupDefinition& popup : MENU_POPUPS) {
    Fl_Menu_Item title{};
    title.text = popup.text;
    title.flags = FL_SUBMENU;
    items_.push_back(title);
    for (const MenuItemDefinition& definition : popup.items) {
      if (definition.kind == MenuItemKind::Separator) {
        // FLTK draws the line below the item that carries the flag.
        items_.back().flags |= FL_MENU_DIVIDER;
        continue;
      }
      Fl_Menu_Item entry{};
      entry.text = definition.text;
      entry.callback_ = picked;
      entry.user_data_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(definition.commandId));
      entry.flags = definition.initiallyEnabled ? 0 : FL_MENU_INACTIVE;
      if (definition.kind == MenuItemKind::Check) entry.flags |= FL_MENU_TOGGLE;
      entry.labeltype_ = ITEM_LABEL;
      entry.labelsize_ = FL_NORMAL_SIZE;
      items_.push_back(entry);
    }
    items_.push_back(Fl_Menu_Item{});
  }
  items_.push_back(Fl_Menu_Item{});
  menu(items_.data());
}

void CommandMenuBar::setChecked(int commandId, bool checked) {
  Fl_Menu_Item* found = item(commandId);
  if (!found) return;
  if (checked) {
    found->set();
  } else {
    found->clear();
  }
}

Fl_Menu_Item* CommandMenuBar::item(int commandId) {
  for (Fl_Menu_Item& entry : items_) {
    if (entry.callback_ == picked &&
        reinterpret_cast<std::intptr_t>(entry.user_data_) == commandId) {
      return &entry;
    }
  }
  return nullptr;
}

bool CommandMenuBar::enabled(int commandId) {
  Fl_Menu_Item* found = item(commandId);
  return found && found->active();
}

void CommandMenuBar::setEnabled(int commandId, bool enabled) {
  Fl_Menu_Item* found = item(commandId);
  if (!found) return;
  if (enabled) {
    found->activate();
  } else {
    found->deactivate();
  }
}

void CommandMenuBar::picked(Fl_Widget* bar, void* commandId) {
  auto* self = static_cast<CommandMenuBar*>(bar);
  const int id = static_cast<int>(reinterpret_cast<std::intptr_t>(commandId));
  // FLTK does not pick an inactive item, but a command must never arrive from a grayed one.
  if (self->enabled(id)) self->deliver_(id);
}

}  // namespace mtd
