#include "control/MainWindow.h"

#include "control/Menu.h"
#include "control/Program.h"

namespace mtd {

void MainWindow::onCreate() { program_.display().createDisplay(); }

void MainWindow::onSize(int clientWidth, int clientHeight) {
  // Only the first size counts: the layout keeps it whatever the window does later.
  if (!awaitingFirstSize_) return;
  program_.display().setClientSize(clientWidth, clientHeight);
  awaitingFirstSize_ = false;
  onShowWindow();
}

void MainWindow::onShowWindow() {
  if (destroyed_) return;
  program_.reloadAndRedraw();
}

void MainWindow::onPaint(DrawingSurface& paintSurface) {
  if (destroyed_) return;
  program_.display().paintWindow(paintSurface);
}

void MainWindow::onTimer() {
  program_.flags().paused = false;
  program_.pacing().showRunState();
}

void MainWindow::onCommand(int commandId) {
  if (destroyed_) return;
  switch (commandId) {
    case CMD_RUN:
      runCommand();
      break;
    case CMD_PAUSE:
      pauseCommand();
      break;
    case CMD_RESET:
      resetCommand();
      break;
    case CMD_GROW:
      program_.pacing().grow();
      break;
    case CMD_LOW:
      program_.pacing().low();
      break;
    case CMD_QUIT:
      quitCommand();
      break;
    case CMD_STEP:
      program_.pacing().step();
      break;
    case CMD_SHOW_EVERY:
      showEveryCommand();
      break;
    default:
      if (DialogCommands::handles(commandId)) program_.dialogs().onCommand(commandId);
      break;
  }
}

void MainWindow::runCommand() {
  RunFlags& flags = program_.flags();
  // A run already in progress refuses Run as well: after a Reset its menu item is enabled
  // again while the run still unwinds, and a second run must not start inside the first.
  if (flags.paused || flags.running) return;
  WindowSystem& ws = program_.windowSystem();
  for (int id : {CMD_PAUSE, CMD_RESET, CMD_GROW, CMD_LOW}) ws.setMenuItemEnabled(id, true);
  ws.setMenuItemEnabled(CMD_RUN, false);
  // Settings is available exactly when Run is: the file it writes is read by the next Run.
  ws.setMenuItemEnabled(CMD_SETTINGS, false);
  ws.drawMenuBar();
  flags.resetRequested = false;
  flags.paused = false;
  flags.stepGranted = false;
  flags.running = true;
  program_.pacing().showRunState();
  program_.run();
  flags.running = false;
  flags.stepGranted = false;
  if (flags.quitRequested) onClose();
  if (!destroyed_) program_.pacing().showRunState();
  ws.drawMenuBar();
}

void MainWindow::pauseCommand() {
  // A running timer means a timed wait: stopping it freezes the wait with paused still set.
  Pacing& pacing = program_.pacing();
  if (!pacing.stopTimer()) program_.flags().paused = !program_.flags().paused;
  pacing.showRunState();
  program_.windowSystem().drawMenuBar();
}

void MainWindow::showEveryCommand() {
  RunFlags& flags = program_.flags();
  flags.showEveryBlock = !flags.showEveryBlock;
  WindowSystem& ws = program_.windowSystem();
  ws.setMenuItemChecked(CMD_SHOW_EVERY, flags.showEveryBlock);
  ws.drawMenuBar();
}

void MainWindow::resetCommand() {
  WindowSystem& ws = program_.windowSystem();
  ws.setMenuItemEnabled(CMD_RUN, true);
  ws.setMenuItemEnabled(CMD_SETTINGS, true);
  ws.setMenuItemEnabled(CMD_PAUSE, false);
  ws.setMenuItemEnabled(CMD_RESET, false);
  RunFlags& flags = program_.flags();
  flags.resetRequested = true;
  flags.paused = false;
  flags.stepGranted = false;
  program_.reloadAndRedraw();
  program_.pacing().showRunState();
  ws.drawMenuBar();
}

void MainWindow::quitCommand() {
  if (program_.flags().running) {
    program_.flags().quitRequested = true;
  } else {
    onClose();
  }
}

void MainWindow::onClose() {
  if (program_.flags().running) {
    program_.flags().quitRequested = true;
  } else {
    onDestroy();
  }
}

void MainWindow::onDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  WindowSystem& ws = program_.windowSystem();
  ws.killTimer();
  program_.display().releaseResources();
  ws.postQuit(0);
}

}  // namespace mtd
