// Reads a screen grab of the demo window and compares it with what the display must show:
//   mtd_screen_probe SHOT.ppm CONFIG_DIR layout   the client area and the grid it implies
//   mtd_screen_probe SHOT.ppm CONFIG_DIR grid     exit 0 when the empty grid and labels are right
//   mtd_screen_probe SHOT.ppm CONFIG_DIR info     counts of the INFORMATION row's cell colours
//   mtd_screen_probe SHOT.ppm CONFIG_DIR menu     the open File menu's items: enabled or grayed
//   mtd_screen_probe SHOT.ppm CONFIG_DIR info-noise
//       exit 0 when the INFORMATION cells drawn so far are a run from position 0 and each is red
//       exactly where the first trial's noise put an information error
// The screen is the picture's size; the block length comes from CONFIG_DIR's init.txt or the
// defaults, exactly as the program loads them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClientArea.h"
#include "Screenshot.h"
#include "core/Configuration.h"
#include "core/Passes.h"
#include "ui/Display.h"
#include "ui/ScreenLayout.h"

namespace {

using mtd::CellRect;
using mtd::Rgb;
using mtd::e2e::ClientArea;
using mtd::e2e::Screenshot;

constexpr Rgb BLACK{0, 0, 0};
constexpr Rgb TEAL{0, 128, 128};
constexpr Rgb GREEN{0, 255, 0};
constexpr Rgb PURPLE{128, 0, 128};
constexpr Rgb CYAN{0, 255, 255};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb YELLOW{255, 255, 0};
constexpr Rgb WHITE{255, 255, 255};

constexpr int ROW_DIFFERENCE = 0;
constexpr int ROW_INFORMATION = 1;
constexpr int ROW_SYNDROME = 2;
constexpr const char* ROW_LABELS[] = {"DIFFERENCE", "INFORMATION", "SYNDROME"};
constexpr Rgb EMPTY_COLOURS[] = {TEAL, GREEN, PURPLE};

std::string nameOf(Rgb colour) {
  const struct {
    Rgb colour;
    const char* name;
  } known[] = {{BLACK, "black"}, {TEAL, "teal"}, {GREEN, "green"},   {PURPLE, "purple"},
               {CYAN, "cyan"},   {RED, "red"},   {YELLOW, "yellow"}, {WHITE, "white"}};
  for (const auto& entry : known) {
    if (entry.colour == colour) return entry.name;
  }
  char text[32];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
  return text;
}

// The picture the program must show, placed on the screen.
struct Picture {
  Screenshot shot;
  ClientArea client;
  mtd::ScreenScale scale;
  mtd::GridGeometry grid;
  std::int32_t blockLength = 0;
  std::vector<bool> infoErrors;  // the first trial's information errors

  CellRect cell(std::int32_t position, int row) const {
    CellRect r = mtd::cellRectOf(grid, scale, position, row);
    return CellRect{r.left + client.x, r.top + client.y, r.right + client.x, r.bottom + client.y};
  }
  Rgb centre(std::int32_t position, int row) const {
    const CellRect r = cell(position, row);
    return shot.pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

std::unique_ptr<Picture> loadPicture(const char* shotFile, const char* configDirectory) {
  auto shot = Screenshot::load(shotFile);
  if (!shot) {
    std::fprintf(stderr, "cannot read %s as a binary PPM\n", shotFile);
    return nullptr;
  }
  const auto client = mtd::e2e::findMaximisedClientArea(*shot);
  if (!client) {
    std::fprintf(stderr, "no black client area below a caption and menu bar\n");
    return nullptr;
  }
  auto sim = std::make_unique<mtd::Simulation>();
  mtd::loadConfiguration(*sim, configDirectory);
  mtd::generateInfoNoise(*sim, nullptr);

  auto picture = std::make_unique<Picture>(Picture{*shot, *client, {}, {}, 0, {}});
  // The program runs maximised on a desktop as large as the screen grab.
  picture->scale = mtd::makeScreenScale(mtd::ScreenSize{shot->width(), shot->height()});
  picture->blockLength = sim->params.nbl;
  picture->grid =
      mtd::layoutGrid(picture->scale, client->width, client->height, picture->blockLength);
  for (std::int32_t p = 0; p < picture->blockLength; ++p) {
    picture->infoErrors.push_back(sim->rows.infoErrors[static_cast<std::size_t>(p)] != 0);
  }
  if (!picture->grid.valid) {
    std::fprintf(stderr, "the client area %dx%d gives no grid\n", client->width, client->height);
    return nullptr;
  }
  return picture;
}

int layout(const Picture& picture) {
  const auto& g = picture.grid;
  std::printf("screen %dx%d\nclient %d %d %dx%d\nK %d\n", picture.shot.width(),
              picture.shot.height(), picture.client.x, picture.client.y, picture.client.width,
              picture.client.height, picture.blockLength);
  std::printf("columns %d lines %d cell %d pitch %d left %d shift %d band %d\n", g.columns, g.lines,
              g.cellWidth, g.linePitch, g.leftMargin, g.lastLineShift, g.bandHeight);
  for (int row = 0; row < 3; ++row) {
    const CellRect first = picture.cell(0, row);
    const CellRect last = picture.cell(picture.blockLength - 1, row);
    std::printf("row %d label-y %d first %d %d %d %d last %d %d %d %d\n", row,
                mtd::labelY(g, picture.scale, row) + picture.client.y, first.left, first.top,
                first.right, first.bottom, last.left, last.top, last.right, last.bottom);
  }
  return 0;
}

// Every cell in its row's empty colour inside a black outline.
int checkCells(const Picture& picture, std::vector<std::string>& faults) {
  int cellsChecked = 0;
  for (int row = 0; row < 3; ++row) {
    for (std::int32_t p = 0; p < picture.blockLength; ++p, ++cellsChecked) {
      const CellRect r = picture.cell(p, row);
      const Rgb inside = picture.centre(p, row);
      const Rgb corner = picture.shot.pixel(r.left, r.top);
      const Rgb farCorner = picture.shot.pixel(r.right - 1, r.bottom - 1);
      if (inside != EMPTY_COLOURS[row] || corner != BLACK || farCorner != BLACK) {
        faults.push_back("row " + std::to_string(row) + " cell " + std::to_string(p) + ": inside " +
                         nameOf(inside) + ", outline " + nameOf(corner) + "/" + nameOf(farCorner));
      }
    }
  }
  return cellsChecked;
}

// Each label: yellow text in the band from its y down one small-font height, centred on the
// design screen's middle.
void checkLabels(const Picture& picture, std::vector<std::string>& faults) {
  const int fontHeight = mtd::fontHeights(picture.scale).small;
  const int middle = picture.client.x + mtd::scaleX(picture.scale, mtd::DESIGN_WIDTH / 2);
  for (int row = 0; row < 3; ++row) {
    const int top = picture.client.y + mtd::labelY(picture.grid, picture.scale, row);
    int left = picture.shot.width(), right = -1, lowest = -1, highest = picture.shot.height();
    // Look a little above and below too, so that misplaced text is reported, not missed.
    for (int y = top - fontHeight; y < top + 2 * fontHeight; ++y) {
      for (int x = 0; x < picture.shot.width(); ++x) {
        if (picture.shot.pixel(x, y) != YELLOW) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        highest = std::min(highest, y);
        lowest = std::max(lowest, y);
      }
    }
    const std::string label = ROW_LABELS[row];
    if (right < 0) {
      faults.push_back(label + ": no yellow text near y " + std::to_string(top));
      continue;
    }
    const int centre = (left + right + 1) / 2;
    if (highest < top || lowest >= top + fontHeight || std::abs(centre - middle) > 2 ||
        right - left < fontHeight * 3) {
      faults.push_back(label + ": text at x " + std::to_string(left) + ".." +
                       std::to_string(right) + ", y " + std::to_string(highest) + ".." +
                       std::to_string(lowest) + "; expected centred on x " +
                       std::to_string(middle) + " within y " + std::to_string(top) + ".." +
                       std::to_string(top + fontHeight - 1));
    }
  }
}

int report(const std::vector<std::string>& faults, const char* what) {
  for (std::size_t i = 0; i < faults.size() && i < 12; ++i) {
    std::printf("  %s\n", faults[i].c_str());
  }
  if (faults.size() > 12) std::printf("  ... %zu faults in all\n", faults.size());
  std::printf("%s: %s\n", what, faults.empty() ? "ok" : "WRONG");
  return faults.empty() ? 0 : 1;
}

int grid(const Picture& picture) {
  std::vector<std::string> faults;
  const int cells = checkCells(picture, faults);
  checkLabels(picture, faults);
  std::printf("checked %d cells and 3 labels, client %dx%d at (%d,%d), K %d\n", cells,
              picture.client.width, picture.client.height, picture.client.x, picture.client.y,
              picture.blockLength);
  return report(faults, "empty grid");
}

int info(const Picture& picture) {
  int green = 0, cyan = 0, red = 0, other = 0;
  for (std::int32_t p = 0; p < picture.blockLength; ++p) {
    const Rgb colour = picture.centre(p, ROW_INFORMATION);
    green += colour == GREEN;
    cyan += colour == CYAN;
    red += colour == RED;
    other += colour != GREEN && colour != CYAN && colour != RED;
  }
  std::printf("green=%d cyan=%d red=%d other=%d pos0=%s\n", green, cyan, red, other,
              nameOf(picture.centre(0, ROW_INFORMATION)).c_str());
  return 0;
}

// The information noise pass paints the cells in order, red where it put an error and cyan
// elsewhere; the rest still show the empty grid's green.
int infoNoise(const Picture& picture) {
  std::vector<std::string> faults;
  std::int32_t drawn = 0;
  while (drawn < picture.blockLength && picture.centre(drawn, ROW_INFORMATION) != GREEN) ++drawn;
  int errorsShown = 0;
  for (std::int32_t p = 0; p < picture.blockLength; ++p) {
    const bool error = picture.infoErrors[static_cast<std::size_t>(p)];
    const Rgb expected = p >= drawn ? GREEN : error ? RED : CYAN;
    const Rgb seen = picture.centre(p, ROW_INFORMATION);
    errorsShown += p < drawn && error;
    if (seen != expected) {
      faults.push_back("INFORMATION cell " + std::to_string(p) + " is " + nameOf(seen) +
                       ", expected " + nameOf(expected));
    }
  }
  if (drawn == 0) faults.push_back("no INFORMATION cell drawn yet");
  if (picture.blockLength > 0 && !picture.infoErrors[0]) {
    faults.push_back("the first trial has no error at position 0 (expected with the defaults)");
  }
  std::printf("%d of %d INFORMATION cells drawn, %d of them red\n", drawn, picture.blockLength,
              errorsShown);
  return report(faults, "information noise");
}

// The File menu dropped down from the left end of the menu bar over the client area: a white
// box whose six items are written in black when enabled and in grey when grayed.
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
  std::string states;
  for (int item = 0; item < 6; ++item) {
    const int itemTop = top + (bottom - top) * item / 6;
    const int itemBottom = top + (bottom - top) * (item + 1) / 6;
    int black = 0, grey = 0;
    for (int y = itemTop; y < itemBottom; ++y) {
      for (int x = probeX; x < right; ++x) {
        black += shot.pixel(x, y) == BLACK;
        grey += shot.pixel(x, y) == GREY_TEXT;
      }
    }
    states += black > 10 ? " enabled" : grey > 10 ? " grayed" : " unreadable";
  }
  std::printf("menu:%s\n", states.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SHOT.ppm CONFIG_DIR layout|grid|info|info-noise|menu\n",
                 argv[0]);
    return 2;
  }
  const auto picture = loadPicture(argv[1], argv[2]);
  if (!picture) return 1;
  const std::string_view command = argv[3];
  if (command == "layout") return layout(*picture);
  if (command == "grid") return grid(*picture);
  if (command == "info") return info(*picture);
  if (command == "info-noise") return infoNoise(*picture);
  if (command == "menu") return menu(*picture);
  std::fprintf(stderr, "unknown command %s\n", argv[3]);
  return 2;
}
