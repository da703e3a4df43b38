// Test tool of the end-to-end tests: reads a screenshot of the window program (binary PPM) and
// checks it against the layout and colours that the display's own arithmetic gives for the
// screen, the recorded client size and the block length of init.txt.
//
//   mtd_e2e_probe errors <configDir>
//       positions of the information errors that the first shown block's noise pass paints
//   mtd_e2e_probe <command> <configDir> <screenW> <screenH> <clientW> <clientH> <clientX>
//                 <clientY> <shot.ppm> [arguments]
//     grid                 every cell of the three rows in its empty colour, labels in place
//     frontier             how many INFORMATION cells from position 0 on are no longer green
//     info <count>         INFORMATION cells 0..count-1: red at the first shown block's
//                          errors, cyan elsewhere
//     changed <row>        how many cells of the row (0, 1, 2) are not in the empty colour
// Exit status 0 when the check passes, 1 when it fails (with the reasons on stderr), 2 on misuse.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "control/BlockSelection.h"
#include "core/Configuration.h"
#include "core/Passes.h"
#include "core/Simulation.h"
#include "ui/ScreenLayout.h"

namespace {

using mtd::CellRect;
using mtd::GridGeometry;
using mtd::Rgb;
using mtd::ScreenScale;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Rgb at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return Rgb{rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

std::string nextToken(std::istream& in) {
  std::string token;
  while (in >> token) {
    if (token[0] != '#') return token;
    std::string rest;
    std::getline(in, rest);
  }
  return {};
}

bool readPpm(const std::string& path, Image& image) {
  std::ifstream in(path, std::ios::binary);
  if (nextToken(in) != "P6") return false;
  image.width = std::stoi(nextToken(in));
  image.height = std::stoi(nextToken(in));
  if (std::stoi(nextToken(in)) != 255) return false;
  in.get();  // the single white space before the pixels
  image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  in.read(reinterpret_cast<char*>(image.rgb.data()),
          static_cast<std::streamsize>(image.rgb.size()));
  return static_cast<std::size_t>(in.gcount()) == image.rgb.size();
}

std::string hex(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", colour.r, colour.g, colour.b);
  return text;
}

constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb GREEN{0, 255, 0};
constexpr Rgb CYAN{0, 255, 255};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb PURPLE{128, 0, 128};
constexpr Rgb TEAL{0, 128, 128};
constexpr Rgb EMPTY_COLOUR[3] = {TEAL, GREEN, PURPLE};
const char* const LABELS[3] = {"DIFFERENCE", "INFORMATION", "SYNDROME"};

// The configuration loaded as the program loads it.
std::unique_ptr<mtd::Simulation> loadSimulation(const std::string& directory) {
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfiguration(*sim, directory);
  return sim;
}

// The information errors of the first block a run shows, as its animated noise pass paints them.
std::vector<int> firstShownErrors(const std::string& directory) {
  auto sim = loadSimulation(directory);
  for (std::int32_t trial = 0; trial < sim->params.maxBlock; ++trial) {
    sim->clearBlockTally();
    const mtd::GeneratorState saved = sim->generator.saveState();
    mtd::generateInfoNoise(*sim, nullptr);
    mtd::generateCheckNoise(*sim, nullptr);
    mtd::formSyndrome(*sim, nullptr);
    mtd::decodeBlock(*sim, nullptr);
    if (mtd::selectBlock(sim->params, sim->blockTally, sim->decoder.lastIteration) !=
        mtd::SelectionVerdict::Shown) {
      continue;
    }
    sim->generator.restoreState(saved);
    sim->clearBlockTally();
    mtd::generateInfoNoise(*sim, nullptr);
    std::vector<int> errors;
    for (int position = 0; position < sim->params.nbl; ++position) {
      if (sim->rows.infoErrors[position]) errors.push_back(position);
    }
    return errors;
  }
  return {};
}

// One screenshot of the client area with the layout the program must have used.
struct Screen {
  Image image;
  ScreenScale scale;
  GridGeometry grid;
  int blockLength = 0;
  int clientX = 0;
  int clientY = 0;
  int clientWidth = 0;
  int clientHeight = 0;

  CellRect cell(int position, int row) const { return mtd::cellRectOf(grid, scale, position, row); }
  Rgb pixel(int x, int y) const { return image.at(clientX + x, clientY + y); }
  bool inClient(int x, int y) const {
    return x >= 0 && y >= 0 && x < clientWidth && y < clientHeight &&
           image.inside(clientX + x, clientY + y);
  }
  Rgb centre(int position, int row) const {
    const CellRect r = cell(position, row);
    return pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

// A cell as drawn: the fill inside, one black pixel of border on its outer pixels.
std::string cellFault(const Screen& screen, int position, int row, Rgb fill) {
  const CellRect r = screen.cell(position, row);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (!screen.inClient(x, y)) return "outside the client area";
      const bool border = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
      const Rgb want = border ? BLACK : fill;
      const Rgb got = screen.pixel(x, y);
      if (!(got == want)) {
        std::ostringstream out;
        out << "pixel (" << x << "," << y << ") is " << hex(got) << ", not " << hex(want);
        return out.str();
      }
    }
  }
  return {};
}

bool yellowish(Rgb colour) { return colour.r >= 128 && colour.g >= 128 && colour.b < 96; }

// The label of a row: text pixels only inside its character cells, centred on the design
// screen's middle; none in the band's other pixels above the cells.
std::string labelFault(const Screen& screen, int row) {
  const int top = mtd::labelY(screen.grid, screen.scale, row);
  const int cellHeight = mtd::fontHeights(screen.scale).small;
  const int middle = mtd::scaleX(screen.scale, 400);
  int left = screen.clientWidth;
  int right = -1;
  int lowest = -1;
  int highest = screen.clientHeight;
  // From half a cell above the label down to the row's first cells.
  const int scanTop = top - cellHeight / 2;
  const int scanBottom = screen.cell(0, row).top;
  for (int y = scanTop; y < scanBottom; ++y) {
    for (int x = 0; x < screen.clientWidth; ++x) {
      if (!screen.inClient(x, y) || !yellowish(screen.pixel(x, y))) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      highest = std::min(highest, y);
      lowest = std::max(lowest, y);
    }
  }
  std::ostringstream out;
  if (right < 0) {
    out << "no text found for " << LABELS[row];
    return out.str();
  }
  if (highest < top || lowest >= top + cellHeight) {
    out << LABELS[row] << " spans y " << highest << ".." << lowest << ", outside its cell " << top
        << ".." << top + cellHeight - 1;
    return out.str();
  }
  // Glyph side bearings make the inked box a little narrower than the measured text.
  const int centreTwice = left + right + 1;
  if (centreTwice < 2 * middle - 6 || centreTwice > 2 * middle + 6) {
    out << LABELS[row] << " spans x " << left << ".." << right << ", not centred on " << middle;
    return out.str();
  }
  return {};
}

int checkGrid(const Screen& screen) {
  int faults = 0;
  for (int row = 0; row < 3; ++row) {
    for (int position = 0; position < screen.blockLength; ++position) {
      const std::string fault = cellFault(screen, position, row, EMPTY_COLOUR[row]);
      if (fault.empty()) continue;
      if (++faults <= 10) std::cerr << LABELS[row] << " cell " << position << ": " << fault << "\n";
    }
    const std::string fault = labelFault(screen, row);
    if (!fault.empty()) {
      ++faults;
      std::cerr << fault << "\n";
    }
  }
  std::cout << "checked " << 3 * screen.blockLength << " cells and 3 labels: " << faults
            << " faults\n";
  return faults == 0 ? 0 : 1;
}

int frontier(const Screen& screen) {
  int count = 0;
  while (count < screen.blockLength && !(screen.centre(count, 1) == GREEN)) ++count;
  std::cout << count << "\n";
  return 0;
}

int checkInfo(const Screen& screen, const std::string& directory, int count) {
  std::vector<bool> error(static_cast<std::size_t>(screen.blockLength), false);
  for (int position : firstShownErrors(directory)) error[position] = true;
  int faults = 0;
  std::ostringstream reds;
  for (int position = 0; position < count && position < screen.blockLength; ++position) {
    const Rgb want = error[position] ? RED : CYAN;
    if (error[position]) reds << " " << position;
    const std::string fault = cellFault(screen, position, 1, want);
    if (fault.empty()) continue;
    if (++faults <= 10) std::cerr << "INFORMATION cell " << position << ": " << fault << "\n";
  }
  std::cout << "information errors among the first " << count << ":" << reds.str() << "; " << faults
            << " faults\n";
  return faults == 0 ? 0 : 1;
}

int changed(const Screen& screen, int row) {
  int count = 0;
  for (int position = 0; position < screen.blockLength; ++position) {
    if (!(screen.centre(position, row) == EMPTY_COLOUR[row])) ++count;
  }
  std::cout << count << "\n";
  return 0;
}

int usage() {
  std::cerr << "usage: mtd_e2e_probe errors <configDir>\n"
               "       mtd_e2e_probe grid|frontier|info|changed <configDir> <screenW> <screenH>"
               " <clientW> <clientH> <clientX> <clientY> <shot.ppm> [argument]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "errors") {
    for (int position : firstShownErrors(args[1])) std::cout << position << "\n";
    return 0;
  }
  if (args.size() < 9) return usage();
  Screen screen;
  try {
    auto sim = loadSimulation(args[1]);
    screen.blockLength = sim->params.nbl;
    screen.scale = mtd::makeScreenScale(mtd::ScreenSize{std::stoi(args[2]), std::stoi(args[3])});
    screen.clientWidth = std::stoi(args[4]);
    screen.clientHeight = std::stoi(args[5]);
    screen.clientX = std::stoi(args[6]);
    screen.clientY = std::stoi(args[7]);
  } catch (const std::exception&) {
    return usage();
  }
  screen.grid =
      mtd::layoutGrid(screen.scale, screen.clientWidth, screen.clientHeight, screen.blockLength);
  if (!screen.grid.valid) {
    std::cerr << "no valid layout for this client size\n";
    return 1;
  }
  if (!readPpm(args[8], screen.image)) {
    std::cerr << "cannot read " << args[8] << " as a binary PPM\n";
    return 1;
  }
  const std::string& command = args[0];
  if (command == "grid") return checkGrid(screen);
  if (command == "frontier") return frontier(screen);
  if (command == "info" && args.size() == 10) return checkInfo(screen, args[1], std::stoi(args[9]));
  if (command == "changed" && args.size() == 10) return changed(screen, std::stoi(args[9]));
  return usage();
}
