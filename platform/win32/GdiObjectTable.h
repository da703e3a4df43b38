#pragma once

#include <vector>

#include "platform/win32/Win32Api.h"
#include "ui/DrawingSurface.h"

namespace mtd {

// The brushes, pens and fonts the display made, known to it by small ids (1, 2, ...).
class GdiObjectTable {
 public:
  GdiObject add(HGDIOBJ handle);
  HGDIOBJ find(GdiObject object) const;  // nullptr for 0, unknown or deleted ids
  HGDIOBJ remove(GdiObject object);      // forgets the id and hands its handle back

 private:
  std::vector<HGDIOBJ> handles_;  // id n is handles_[n - 1]
};

}  // namespace mtd
