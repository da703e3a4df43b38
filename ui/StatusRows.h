#pragma once

namespace mtd {

// Design y of the three status lines below the three bands of cells.
struct StatusRows {
  int first;   // run parameters, block number
  int second;  // noise, iteration
  int third;   // distance on the right; the trial progress on the left
};

inline StatusRows statusRows(int bandHeight) {
  const int panelTop = 3 * bandHeight;
  return {panelTop + 40, panelTop + 70, panelTop + 100};
}

}  // namespace mtd
