// The window program in a browser page: the canvas is its window, and init.txt is the page's
// configuration text, which the page keeps in the virtual file system's /config directory.
#include <filesystem>

#include "control/Program.h"
#include "platform/web/PageBridge.h"
#include "platform/web/WebDialogs.h"
#include "platform/web/WebWindowSystem.h"

int main() {
  const std::filesystem::path configDirectory("/config");
  std::error_code ignored;
  std::filesystem::create_directories(configDirectory, ignored);
  int exitCode = 0;
  {
    mtd::WebWindowSystem windowSystem;
    mtd::Program program(windowSystem, configDirectory);
    mtd::WebDialogs dialogs(windowSystem);
    program.setDialogHost(dialogs);
    mtd::WebDialogs::publishLegend();
    exitCode = windowSystem.run(program.window());
  }
  mtd::page::programEnded(exitCode);
  return exitCode;
}
