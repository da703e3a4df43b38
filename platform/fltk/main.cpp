// The window program: one main window on FLTK, reading init.txt from the working directory.
#include "control/Program.h"
#include "platform/fltk/FltkDialogs.h"
#include "platform/fltk/FltkWindowSystem.h"

int main() {
  mtd::FltkWindowSystem windowSystem;
  mtd::Program program(windowSystem);
  mtd::FltkDialogs dialogs(windowSystem);
  program.setDialogHost(dialogs);
  return windowSystem.run(program.window());
}
