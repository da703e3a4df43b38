#include "platform/fltk/Accelerators.h"

#include <FL/Fl.H>

#include <cstring>

#include "control/Menu.h"

namespace mtd {

namespace {

bool matches(AcceleratorKey key) {
  const int state = Fl::event_state();
  const bool modifiers = (state & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) != 0;
  switch (key) {
    case AcceleratorKey::F10:
      return !modifiers && Fl::event_key() == FL_F + 10;
    case AcceleratorKey::F2:
      return !modifiers && Fl::event_key() == FL_F + 2;
    case AcceleratorKey::F5:
      return !modifiers && Fl::event_key() == FL_F + 5;
    case AcceleratorKey::F6:
      return !modifiers && Fl::event_key() == FL_F + 6;
    case AcceleratorKey::LowerG:
      // A character entry: Shift does not matter, the character does; Alt is not part of it.
      return (state & (FL_CTRL | FL_ALT | FL_META)) == 0 && std::strcmp(Fl::event_text(), "g") == 0;
    case AcceleratorKey::LowerL:
      return (state & (FL_CTRL | FL_ALT | FL_META)) == 0 && std::strcmp(Fl::event_text(), "l") == 0;
    case AcceleratorKey::LowerS:
      return (state & (FL_CTRL | FL_ALT | FL_META)) == 0 && std::strcmp(Fl::event_text(), "s") == 0;
  }
  return false;
}

}  // namespace

int acceleratorCommand() {
  for (const AcceleratorEntry& entry : ACCELERATORS) {
    if (matches(entry.key)) return entry.commandId;
  }
  return 0;
}

}  // namespace mtd
