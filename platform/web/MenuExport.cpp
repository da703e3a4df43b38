#include "platform/web/MenuExport.h"

#include "platform/web/PageBridge.h"

namespace mtd {

const char* domKeyName(AcceleratorKey key) {
  switch (key) {
    case AcceleratorKey::F10:
      return "F10";
    case AcceleratorKey::F2:
      return "F2";
    case AcceleratorKey::F5:
      return "F5";
    case AcceleratorKey::F6:
      return "F6";
    case AcceleratorKey::LowerG:
      return "g";
    case AcceleratorKey::LowerL:
      return "l";
    case AcceleratorKey::LowerS:
      return "s";
  }
  return "";
}

page::ItemKind pageItemKind(MenuItemKind kind) {
  switch (kind) {
    case MenuItemKind::Check:
      return page::ItemKind::Check;
    case MenuItemKind::Separator:
      return page::ItemKind::Separator;
    case MenuItemKind::Command:
      break;
  }
  return page::ItemKind::Command;
}

void publishMenu() {
  for (const MenuPopupDefinition& popup : MENU_POPUPS) {
    page::defineMenu(popup.text);
    for (const MenuItemDefinition& item : popup.items) {
      page::defineMenuItem(item.commandId, item.text, item.initiallyEnabled,
                           pageItemKind(item.kind));
    }
  }
  for (const AcceleratorEntry& entry : ACCELERATORS) {
    page::defineAccelerator(domKeyName(entry.key), entry.commandId);
  }
}

}  // namespace mtd
