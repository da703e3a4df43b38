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
  }
  return "";
}

void publishMenu() {
  page::defineMenu(MENU_POPUP_TEXT);
  for (const MenuItemDefinition& item : MENU_ITEMS) {
    page::defineMenuItem(item.commandId, item.text, item.initiallyEnabled);
  }
  for (const AcceleratorEntry& entry : ACCELERATORS) {
    page::defineAccelerator(domKeyName(entry.key), entry.commandId);
  }
}

}  // namespace mtd
