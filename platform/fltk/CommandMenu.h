#pragma once

#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>

#include <functional>
#include <vector>

#include "control/Menu.h"

namespace mtd {

// The menu bar with the popups of control/Menu.h ("File", "Help"), their commands and the
// lines between their groups. Item texts
// keep their Win32 form:
// '&' marks the mnemonic and the shortcut's name after '\t' is drawn right-aligned. The items
// carry no FLTK shortcut: the accelerators are translated before FLTK sees the key.
class CommandMenuBar : public Fl_Menu_Bar {
 public:
  CommandMenuBar(int x, int y, int width, int height, std::function<void(int)> deliver);

  // The menu item of a command, or null.
  Fl_Menu_Item* item(int commandId);
  bool enabled(int commandId);
  void setEnabled(int commandId, bool enabled);
  // The check mark of a checked item.
  void setChecked(int commandId, bool checked);

 private:
  static void picked(Fl_Widget* bar, void* commandId);

  // For each popup its title, its items and its end; then the end of the bar. FLTK draws a
  // separator below an item that carries FL_MENU_DIVIDER. Made once: FLTK keeps the pointer.
  std::vector<Fl_Menu_Item> items_;
  std::function<void(int)> deliver_;
};

}  // namespace mtd
