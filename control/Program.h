#pragma once

#include <filesystem>

#include "control/MainWindow.h"
#include "control/WindowSystem.h"

namespace mtd {

// Everything of one running program: the simulation, the run flags and pace, the display, the
// run controller and the window's handlers. A platform makes one, calls window().onCreate()
// when its window is created, and dispatches messages to window().
class Program {
 public:
  explicit Program(WindowSystem& windowSystem,
                   std::filesystem::path configDirectory = std::filesystem::path("."));
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  MainWindow& window();

  // (The rest of the interface is the run control's own.)
};

}  // namespace mtd
