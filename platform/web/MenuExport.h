#pragma once

#include "control/Menu.h"

namespace mtd {

// The key of an accelerator as the page's keyboard events name it (KeyboardEvent.key): a
// function key by name, a letter by the character typed.
const char* domKeyName(AcceleratorKey key);

// Hands the program's menu table and accelerator table to the page, which builds its menu and
// its key handling from them: an item or key added to the tables appears on the page as is.
void publishMenu();

}  // namespace mtd
