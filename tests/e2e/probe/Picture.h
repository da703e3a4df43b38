#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ClientArea.h"
#include "Screenshot.h"
#include "ui/ScreenLayout.h"

namespace mtd::e2e {

inline constexpr int ROW_DIFFERENCE = 0;
inline constexpr int ROW_INFORMATION = 1;
inline constexpr int ROW_SYNDROME = 2;
inline constexpr int ROW_COUNT = 3;

// A screen grab of the window together with the layout the program must have used: the scale of
// a screen as large as the grab, the grid of the client area and the configured block length.
// Cells and pixels are in client coordinates.
struct Picture {
  Screenshot shot;
  ClientArea client;
  ScreenScale scale;
  GridGeometry grid;
  std::int32_t blockLength = 0;

  CellRect cell(std::int32_t position, int row) const {
    return cellRectOf(grid, scale, position, row);
  }
  bool inClient(int x, int y) const {
    return x >= 0 && y >= 0 && x < client.width && y < client.height &&
           shot.contains(client.x + x, client.y + y);
  }
  Rgb pixel(int x, int y) const { return shot.pixel(client.x + x, client.y + y); }
  Rgb centre(std::int32_t position, int row) const {
    const CellRect r = cell(position, row);
    return pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

// The picture, or why there is none (no valid grid fits the client area).
std::optional<Picture> layOut(Screenshot shot, ClientArea client, std::int32_t blockLength,
                              std::string& whyNot);

}  // namespace mtd::e2e
