#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "ui/DrawingSurface.h"

namespace mtd::e2e {

// A screen grab as written by `import -window root shot.ppm`: binary PPM, 8 or 16 bits a
// sample.
class Screenshot {
 public:
  static std::optional<Screenshot> load(const std::filesystem::path& file);

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgb pixel(int x, int y) const;  // black outside the picture

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace mtd::e2e
