// Test tool of the end-to-end tests, for the FLTK program and for the Windows program under
// Wine: reads a screen grab of the window (binary PPM) and checks it against the layout and
// colours that the display's own arithmetic gives for a screen as large as the grab, the client
// area and the block length of the configuration.
//
//   mtd_e2e_probe errors <configDir>
//       positions of the information errors that the first shown block's noise pass paints
//   mtd_e2e_probe legend <shot.ppm>
//       a grab of the colour legend's window alone (its client area): every sample inside its
//       outline in the palette colour of its brush
//   mtd_e2e_probe <command> <configDir> <shot.ppm> <client> [argument]
//       <client> is the client area's X geometry WxH+X+Y, or "maximised" to find it in the grab
//       as the black area below the caption and menu bar of a maximised window
//     layout          the client area, the block length K and the grid they give
//     grid            every cell of the three rows in its empty colour, labels in place
//     frontier        how many INFORMATION cells from position 0 on are no longer green
//     info [count]    the INFORMATION cells painted so far, at least count (1): a run from
//                     position 0, red at the first shown block's errors and cyan elsewhere
//     colours         how many INFORMATION cells are green, cyan, red or other, and position 0's
//     changed <row>   how many cells of the row (0, 1, 2) are not in the empty colour
//     menu            the open File menu's items over the client area, separators left out:
//                     enabled or grayed
//     match <frame.ppm> every cell's colour equal to that of a picture of the client area alone
//                     (a frame recorded by mtd-sim record)
//     columns [1]     the status lines' band: yellow text (a refused file's message) in the left
//                     column and none in the right one; with 1, the cyan block number line
//                     still starts the right column
// Exit status 0 when the check passes, 1 when it fails (with the reasons on stderr), 2 on misuse.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "CellChecks.h"
#include "FirstShownBlock.h"
#include "ui/ColourLegend.h"
#include "ui/Palette.h"

namespace {

using namespace mtd::e2e;
using mtd::CellRect;
using mtd::GridGeometry;
using mtd::Rgb;

int usage() {
  std::cerr << "usage: mtd_e2e_probe errors <configDir>\n"
               "       mtd_e2e_probe layout|grid|frontier|info|colours|changed|menu <configDir>"
               " <shot.ppm> <WxH+X+Y|maximised> [argument]\n";
  return 2;
}

// The faults (the first dozen on stderr), then the summary and their count on stdout.
int report(const std::vector<std::string>& faults, const std::string& summary) {
  for (std::size_t i = 0; i < faults.size() && i < 12; ++i) std::cerr << faults[i] << "\n";
  if (faults.size() > 12) std::cerr << "... " << faults.size() << " faults in all\n";
  std::cout << summary << ": " << faults.size() << " faults\n";
  return faults.empty() ? 0 : 1;
}

int layout(const Picture& picture) {
  const auto& g = picture.grid;
  std::printf("screen %dx%d\nclient %d %d %dx%d\nK %d\n", picture.shot.width(),
              picture.shot.height(), picture.client.x, picture.client.y, picture.client.width,
              picture.client.height, picture.blockLength);
  std::printf("columns %d lines %d cell %d pitch %d left %d shift %d band %d\n", g.columns, g.lines,
              g.cellWidth, g.linePitch, g.leftMargin, g.lastLineShift, g.bandHeight);
  // Screen coordinates, to compare with a screen grab by eye.
  const auto onScreen = [&picture](CellRect r) {
    return std::to_string(r.left + picture.client.x) + " " +
           std::to_string(r.top + picture.client.y) + " " +
           std::to_string(r.right + picture.client.x) + " " +
           std::to_string(r.bottom + picture.client.y);
  };
  for (int row = 0; row < ROW_COUNT; ++row) {
    std::printf("row %d label-y %d first %s last %s\n", row,
                mtd::labelY(g, picture.scale, row) + picture.client.y,
                onScreen(picture.cell(0, row)).c_str(),
                onScreen(picture.cell(picture.blockLength - 1, row)).c_str());
  }
  return 0;
}

int grid(const Picture& picture) {
  std::vector<std::string> faults;
  for (int row = 0; row < ROW_COUNT; ++row) {
    for (std::int32_t position = 0; position < picture.blockLength; ++position) {
      const std::string fault = cellFault(picture, position, row, EMPTY_COLOURS[row]);
      if (!fault.empty()) {
        faults.push_back(std::string(ROW_LABELS[row]) + " cell " + std::to_string(position) + ": " +
                         fault);
      }
    }
    const std::string fault = labelFault(picture, row);
    if (!fault.empty()) faults.push_back(fault);
  }
  const ClientArea& c = picture.client;
  return report(faults, "checked " + std::to_string(ROW_COUNT * picture.blockLength) +
                            " cells and 3 labels, client " + std::to_string(c.width) + "x" +
                            std::to_string(c.height) + " at (" + std::to_string(c.x) + "," +
                            std::to_string(c.y) + "), K " + std::to_string(picture.blockLength));
}

// The noise pass paints the INFORMATION cells in order, red where it put an error and cyan
// elsewhere; the rest still show the empty grid's green.
int info(const Picture& picture, const std::string& directory, std::int32_t atLeast) {
  std::vector<bool> error(static_cast<std::size_t>(picture.blockLength), false);
  for (std::int32_t position : firstShownErrors(directory)) {
    error[static_cast<std::size_t>(position)] = true;
  }
  const std::int32_t drawn = informationFrontier(picture);
  std::vector<std::string> faults;
  if (drawn < atLeast) {
    faults.push_back(std::to_string(drawn) + " INFORMATION cells painted, expected at least " +
                     std::to_string(atLeast));
  }
  int errorsShown = 0;
  for (std::int32_t position = 0; position < picture.blockLength; ++position) {
    const bool painted = position < drawn;
    const bool wrong = error[static_cast<std::size_t>(position)];
    errorsShown += painted && wrong;
    const Rgb want = !painted ? EMPTY_COLOURS[ROW_INFORMATION] : wrong ? RED : CYAN;
    const std::string fault = cellFault(picture, position, ROW_INFORMATION, want);
    if (!fault.empty())
      faults.push_back("INFORMATION cell " + std::to_string(position) + ": " + fault);
  }
  return report(faults, std::to_string(drawn) + " of " + std::to_string(picture.blockLength) +
                            " INFORMATION cells painted, " + std::to_string(errorsShown) +
                            " of them red");
}

int colours(const Picture& picture) {
  int green = 0, cyan = 0, red = 0, other = 0;
  for (std::int32_t position = 0; position < picture.blockLength; ++position) {
    const Rgb colour = picture.centre(position, ROW_INFORMATION);
    green += colour == GREEN;
    cyan += colour == CYAN;
    red += colour == RED;
    other += colour != GREEN && colour != CYAN && colour != RED;
  }
  std::printf("green=%d cyan=%d red=%d other=%d pos0=%s\n", green, cyan, red, other,
              colourName(picture.centre(0, ROW_INFORMATION)).c_str());
  return 0;
}

int changed(const Picture& picture, int row) {
  int count = 0;
  for (std::int32_t position = 0; position < picture.blockLength; ++position) {
    count += picture.centre(position, row) != EMPTY_COLOURS[row];
  }
  std::printf("%d\n", count);
  return 0;
}

// The File menu dropped down from the left end of the menu bar over the client area: a white
// box whose items are written in black when enabled and in grey when grayed.
// Anti-aliased text blends its colour into the black box: a hue with red and green alike and
// no blue, or green and blue alike and no red.
bool yellowish(Rgb c) { return c.r > 96 && c.g > 96 && c.b < 64 && std::abs(c.r - c.g) < 48; }
bool cyanish(Rgb c) { return c.g > 96 && c.b > 96 && c.r < 64 && std::abs(c.g - c.b) < 48; }

int columns(const Picture& picture, bool blockNumber) {
  const GridGeometry& g = picture.grid;
  const int top = mtd::scaleY(picture.scale, 3 * g.bandHeight + 40);
  const int bottom = mtd::scaleY(picture.scale, 3 * g.bandHeight + 100);
  const int rightColumn = mtd::scaleX(picture.scale, g.leftMargin + 400);
  std::vector<std::string> faults;
  int leftYellow = 0;
  int blockCyan = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < picture.client.width; ++x) {
      if (!picture.inClient(x, y)) continue;
      const Rgb p = picture.pixel(x, y);
      if (yellowish(p) && x < rightColumn) ++leftYellow;
      if (yellowish(p) && x >= rightColumn && faults.size() < 20) {
        faults.push_back("message text at " + std::to_string(x) + "," + std::to_string(y) +
                         ", right of x=" + std::to_string(rightColumn));
      }
      const bool blockStart = x < rightColumn + mtd::scaleX(picture.scale, 30) &&
                              y < top + mtd::scaleY(picture.scale, 30);
      if (cyanish(p) && x >= rightColumn && blockStart) ++blockCyan;
    }
  }
  if (leftYellow == 0) faults.push_back("no message text in the left column");
  if (blockNumber && blockCyan == 0) {
    faults.push_back("the block number line's first letters are gone");
  }
  return report(faults, "status columns (message " + std::to_string(leftYellow) +
                            " pixels, block number start " + std::to_string(blockCyan) + ")");
}

int menu(const Picture& picture) {
  constexpr Rgb GREY_TEXT{128, 128, 128};
  const Screenshot& shot = picture.shot;
  const int probeX = 4;
  int top = picture.client.y;
  while (top > 0 && shot.pixel(probeX, top - 1) == WHITE) --top;
  int bottom = picture.client.y;
  while (bottom < shot.height() && shot.pixel(probeX, bottom) != BLACK) ++bottom;
  int right = probeX;
  while (right < shot.width() && shot.pixel(right, top + 1) == WHITE) ++right;
  if (bottom - top < 6 * 8 || right - probeX < 20) {
    std::printf("menu: not open\n");
    return 1;
  }
  // Each item's text is a band of rows holding text pixels; a separator's etched line (and a
  // mnemonic's underline) is a band too thin to be a line of text.
  constexpr int THINNEST_TEXT = 4;
  std::string states;
  int bandTop = -1;
  int black = 0;
  int grey = 0;
  for (int y = top; y <= bottom; ++y) {
    int rowBlack = 0;
    int rowGrey = 0;
    for (int x = probeX; y < bottom && x < right; ++x) {
      rowBlack += shot.pixel(x, y) == BLACK;
      rowGrey += shot.pixel(x, y) == GREY_TEXT;
    }
    if (rowBlack + rowGrey > 0) {
      if (bandTop < 0) bandTop = y;
      black += rowBlack;
      grey += rowGrey;
      continue;
    }
    if (bandTop >= 0 && y - bandTop >= THINNEST_TEXT) {
      states += black > 10 ? " enabled" : grey > 10 ? " grayed" : " unreadable";
    }
    bandTop = -1;
    black = grey = 0;
  }
  std::printf("menu:%s\n", states.c_str());
  return 0;
}

// Every cell of the three rows against another picture of the client area (a recorded frame,
// from its top left corner): the same colour at every cell's centre. Text is anti-aliased
// differently by the two, so only cells are compared.
int match(const Picture& picture, const std::string& framePath) {
  const auto frame = Screenshot::load(framePath);
  if (!frame) {
    std::cerr << "cannot read " << framePath << " as a binary PPM\n";
    return 1;
  }
  std::vector<std::string> faults;
  if (frame->width() != picture.client.width || frame->height() != picture.client.height) {
    faults.push_back("the frame is " + std::to_string(frame->width()) + "x" +
                     std::to_string(frame->height()) + ", the client area " +
                     std::to_string(picture.client.width) + "x" +
                     std::to_string(picture.client.height));
  }
  for (int row = 0; row < ROW_COUNT; ++row) {
    for (std::int32_t position = 0; position < picture.blockLength; ++position) {
      const CellRect r = picture.cell(position, row);
      const Rgb window = picture.centre(position, row);
      const Rgb recorded = frame->pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      if (window != recorded) {
        faults.push_back("row " + std::to_string(row) + " cell " + std::to_string(position) +
                         ": the window shows " + colourName(window) + ", the frame " +
                         colourName(recorded));
      }
    }
  }
  return report(faults, "match: " + std::to_string(ROW_COUNT * picture.blockLength) + " cells");
}

int legend(const std::string& file) {
  const auto shot = Screenshot::load(file);
  if (!shot) {
    std::cerr << "cannot read " << file << " as a binary PPM\n";
    return 2;
  }
  std::vector<std::string> faults;
  const mtd::ScreenSize size = mtd::colourLegendSize();
  if (shot->width() != size.width || shot->height() != size.height) {
    faults.push_back("the window is " + std::to_string(shot->width()) + "x" +
                     std::to_string(shot->height()) + ", not the legend's " +
                     std::to_string(size.width) + "x" + std::to_string(size.height));
  }
  const auto samples = mtd::colourLegendSamples();
  for (const mtd::LegendSample& sample : samples) {
    const Rgb expected = mtd::paletteColour(sample.brush);
    int wrong = 0;
    for (int y = sample.top + 1; y < sample.bottom - 1; ++y) {
      for (int x = sample.left + 1; x < sample.right - 1; ++x)
        wrong += shot->pixel(x, y) != expected;
    }
    if (wrong > 0) {
      faults.push_back("the sample of \"" + std::string(sample.meaning) + "\" has " +
                       std::to_string(wrong) + " pixels of another colour");
    }
  }
  return report(faults, "legend (" + std::to_string(samples.size()) + " samples)");
}

std::optional<ClientArea> clientArea(const std::string& text, const Screenshot& shot) {
  if (text == "maximised") return findMaximisedClientArea(shot);
  return parseClientGeometry(text);
}

int runCommand(const std::vector<std::string>& args) {
  const std::string& command = args[0];
  const std::string& directory = args[1];
  auto shot = Screenshot::load(args[2]);
  if (!shot) {
    std::cerr << "cannot read " << args[2] << " as a binary PPM\n";
    return 1;
  }
  const auto client = clientArea(args[3], *shot);
  if (!client) {
    std::cerr << "no client area " << args[3] << " in the grab\n";
    return 1;
  }
  std::string whyNot;
  const auto picture = layOut(std::move(*shot), *client, configuredBlockLength(directory), whyNot);
  if (!picture) {
    std::cerr << whyNot << "\n";
    return 1;
  }
  const bool bare = args.size() == 4;
  if (command == "match" && !bare) return match(*picture, args[4]);
  const int argument = bare ? -1 : std::stoi(args[4]);
  if (command == "layout" && bare) return layout(*picture);
  if (command == "grid" && bare) return grid(*picture);
  if (command == "frontier" && bare) {
    std::printf("%d\n", informationFrontier(*picture));
    return 0;
  }
  if (command == "info") return info(*picture, directory, bare ? 1 : argument);
  if (command == "colours" && bare) return colours(*picture);
  if (command == "changed" && argument >= 0 && argument < ROW_COUNT) {
    return changed(*picture, argument);
  }
  if (command == "menu" && bare) return menu(*picture);
  if (command == "columns") return columns(*picture, argument == 1);
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "legend") return legend(args[1]);
    if (args.size() == 2 && args[0] == "errors") {
      for (std::int32_t position : firstShownErrors(args[1])) std::cout << position << "\n";
      return 0;
    }
    if (args.size() == 4 || args.size() == 5) return runCommand(args);
  } catch (const std::logic_error&) {
    // A number argument that is no number.
  }
  return usage();
}
