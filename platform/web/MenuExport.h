#pragma once

#include "control/Menu.h"
#include "platform/web/PageBridge.h"

namespace mtd {

// The key of an accelerator as the page's keyboard events name it (KeyboardEvent.key): a
// function key by name, a letter by the character typed.
const char* domKeyName(AcceleratorKey key);

// How the page shows an item of the table.
page::ItemKind pageItemKind(MenuItemKind kind);

// Hands the program's menu bar (each popup with its items) and accelerator table to the page,
// which builds its menu and its key handling from them: an item, popup or key added to the
// tables appears on the page as is.
void publishMenu();

}  // namespace mtd
