#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "control/Menu.h"
#include "control/Program.h"
#include "tests/support/RecordingGraphics.h"
#include "tests/support/ScriptedWindowSystem.h"

namespace mtd::testing {

// A directory of its own for one test's init.txt, removed afterwards.
class TempDirectory {
 public:
  TempDirectory() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("mtd-control-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void writeConfiguration(const std::string& text) const {
    std::ofstream(path_ / "init.txt", std::ios::binary) << text;
  }

 private:
  std::filesystem::path path_;
};

// A 40-bit code with four taps (0, 3, 8, 14, all differences distinct) whose decoder flips a
// bit at a check sum of 3 or more. With kst 7 and p 0.06 its trial 0 is shown (4 information
// and 4 check errors, corrected in the second iteration); among the first 30 trials 0, 20, 25,
// 27 and 28 are shown.
inline std::string smallConfiguration(int maxBlock, int seed = 7) {
  return "nbl=40\nkst=" + std::to_string(seed) +
         "\np= 0.06\nndn=5 taps\n"
         "kfp={4,0,3,8,14,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0}\n"
         "ktrh={4,-3,-3,-3,-3,0,0,0,0,0,0,0}\nmaxBlock=" +
         std::to_string(maxBlock) + "\nddn=4\ncheck\n";
}
inline constexpr int SMALL_NBL = 40;
// Rectangles one animated decoder step paints: 4 + 2 x ddn.
inline constexpr int SMALL_STEP_CELLS = 12;

inline const Rgb BLACK{0, 0, 0};

// What the window showed, in order: cells of the grid and texts.
struct WindowEvent {
  bool isCell = false;
  int row = -1;
  int position = -1;
  Rgb colour;
  std::string text;
};

// A program on the scripted window system, with the recording graphics of an 800 x 640
// screen and a client area of 800 x 600, and a log of the window's cells and texts.
class ProgramHarness {
 public:
  explicit ProgramHarness(std::optional<std::string> configuration = smallConfiguration(1))
      : graphics_({800, 640}, ScreenSize{800, 600}), ws_(graphics_), program_(ws_, dir_.path()) {
    if (configuration) dir_.writeConfiguration(*configuration);
    ws_.attach(program_.window());
    ws_.watchWindow([this](const RecordedCall& call) { record(call); });
  }

  ScriptedWindowSystem& ws() { return ws_; }
  Program& program() { return program_; }
  RecordingGraphics& graphics() { return graphics_; }
  RunFlags& flags() { return program_.flags(); }
  const TempDirectory& dir() const { return dir_; }

  // Creation, the first size and the show notification, then a map of the cells.
  void startUp() {
    ws_.startUp(800, 600);
    mapCells();
  }
  void mapCells() {
    cells_.clear();
    const std::int32_t nbl = program_.simulation().params.nbl;
    for (int row = 0; row < 3; ++row) {
      for (std::int32_t p = 0; p < nbl; ++p) {
        cells_[key(program_.display().cellRect(p, row))] = {row, p};
      }
    }
  }

  // Run, then Grow until the pace is the fastest: the keys are serviced one per animated step.
  void postRunAtFullSpeed() {
    ws_.postFunctionKey(5);
    for (int i = 0; i < 19; ++i) ws_.postCharacter('g');
  }
  void closeWhenIdle() { ws_.whenMainLoopIdle(ScriptedMessage::close()); }

  // The first time the cell is painted from now on.
  void whenCellDrawn(int row, std::int32_t position, std::function<void()> action) {
    ws_.whenWindowRectangle(program_.display().cellRect(position, row), std::move(action));
  }
  // After the given number of animated decoder steps (counted over the harness' life, by the
  // cursor mark each step puts on the INFORMATION row).
  void whenDecodeStep(int stepNumber, std::function<void()> action) {
    stepActions_.emplace(stepNumber, std::move(action));
  }

  // A long run paints millions of cells: keep only the counts.
  void keepEvents(bool keep) { keepEvents_ = keep; }
  const std::vector<WindowEvent>& events() const { return events_; }
  int gridsDrawn() const { return ws_.windowTextCount("DIFFERENCE"); }
  int decodeSteps() const { return decodeSteps_; }
  // The position of the last cell of a row painted in a colour other than black.
  std::optional<int> lastColouredCell(int row) const {
    for (auto e = events_.rbegin(); e != events_.rend(); ++e) {
      if (e->isCell && e->row == row && !(e->colour == BLACK)) return e->position;
    }
    return std::nullopt;
  }
  int textCount(const std::string& text) const { return ws_.windowTextCount(text); }

  struct MenuStates {
    bool run, pause, reset, grow, low, quit;
    friend bool operator==(const MenuStates&, const MenuStates&) = default;
  };
  MenuStates menu() const {
    return {ws_.menuItemEnabled(CMD_RUN),   ws_.menuItemEnabled(CMD_PAUSE),
            ws_.menuItemEnabled(CMD_RESET), ws_.menuItemEnabled(CMD_GROW),
            ws_.menuItemEnabled(CMD_LOW),   ws_.menuItemEnabled(CMD_QUIT)};
  }
  static constexpr MenuStates READY{true, false, false, true, true, true};
  static constexpr MenuStates RUNNING{false, true, true, true, true, true};
  static constexpr MenuStates WAITING{false, true, false, true, true, true};
  static constexpr MenuStates FINISHED{true, true, true, true, true, true};

 private:
  static std::tuple<int, int, int, int> key(const CellRect& r) {
    return {r.left, r.top, r.right, r.bottom};
  }

  void record(const RecordedCall& call) {
    if (call.op == DrawOp::TextOut) {
      if (keepEvents_) events_.push_back({false, -1, -1, {}, call.text});
      return;
    }
    if (call.op != DrawOp::Rectangle) return;
    const auto cell = cells_.find({call.left, call.top, call.right, call.bottom});
    if (cell == cells_.end()) return;
    const ObjectRecord* brush = graphics_.object(call.state.brush);
    const Rgb colour = brush != nullptr ? brush->colour : Rgb{1, 2, 3};
    if (keepEvents_) events_.push_back({true, cell->second.first, cell->second.second, colour, {}});
    // Only the decoder paints black cells on the INFORMATION row: its cursor mark.
    if (cell->second.first == ROW_INFORMATION && colour == BLACK) {
      ++decodeSteps_;
      const auto due = stepActions_.find(decodeSteps_);
      if (due != stepActions_.end()) {
        auto action = std::move(due->second);
        stepActions_.erase(due);
        action();
      }
    }
  }

  TempDirectory dir_;
  RecordingGraphics graphics_;
  ScriptedWindowSystem ws_;
  Program program_;
  std::map<std::tuple<int, int, int, int>, std::pair<int, int>> cells_;
  std::vector<WindowEvent> events_;
  std::map<int, std::function<void()>> stepActions_;
  int decodeSteps_ = 0;
  bool keepEvents_ = true;
};

}  // namespace mtd::testing
