#include "sweep/Gf2Map.h"

namespace mtd::sweep {

Gf2Map Gf2Map::identity() {
  Gf2Map m;
  for (int bit = 0; bit < 64; ++bit) m.images_[bit] = std::uint64_t{1} << bit;
  return m;
}

Gf2Map Gf2Map::after(const Gf2Map& first) const {
  Gf2Map m;
  for (int bit = 0; bit < 64; ++bit) m.images_[bit] = apply(first.images_[bit]);
  return m;
}

}  // namespace mtd::sweep
