#pragma once

#include <filesystem>
#include <memory>

#include "control/DialogCommands.h"
#include "control/MainWindow.h"
#include "control/Pacing.h"
#include "control/ProgramHooks.h"
#include "control/RunController.h"
#include "control/RunFlags.h"
#include "control/WindowSystem.h"
#include "core/Simulation.h"
#include "ui/Display.h"

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

  MainWindow& window() { return window_; }

  // The run control's own, for the window's handlers (and for tests that watch a run).
  WindowSystem& windowSystem() { return windowSystem_; }
  Simulation& simulation() { return *sim_; }
  RunFlags& flags() { return flags_; }
  Pacing& pacing() { return pacing_; }
  Display& display() { return display_; }
  const RunController& runController() const { return controller_; }
  // Where init.txt is read and where the Settings dialog writes it.
  const std::filesystem::path& configDirectory() const { return configDirectory_; }
  // The Settings, Colours and About commands, and the windows they open.
  DialogCommands& dialogs() { return dialogs_; }
  void setDialogHost(DialogHost& host) { dialogs_.setHost(&host); }

  // Loads init.txt and draws the empty grid for it.
  void reloadAndRedraw() { hooks_.reloadAndRedraw(); }
  // One whole run; the Run command calls it with the flags and menu prepared.
  void run() { controller_.run(); }

 private:
  WindowSystem& windowSystem_;
  std::filesystem::path configDirectory_;
  std::unique_ptr<Simulation> sim_;
  RunFlags flags_;
  Display display_;
  Pacing pacing_;
  ProgramHooks hooks_;
  RunController controller_;
  MainWindow window_;
  DialogCommands dialogs_;
};

}  // namespace mtd
