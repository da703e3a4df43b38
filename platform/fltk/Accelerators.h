#pragma once

namespace mtd {

// The command that the accelerator table gives for the key event FLTK is handling, or 0.
// Function keys match by key with no modifier held; the letters match by the character
// actually typed, so only the lower-case letter acts (not Shift+g, not G under Caps Lock).
int acceleratorCommand();

}  // namespace mtd
