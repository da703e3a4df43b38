#include "platform/win32/GdiObjectTable.h"

namespace mtd {

GdiObject GdiObjectTable::add(HGDIOBJ handle) {
  if (handle == nullptr) return GdiObject{};
  handles_.push_back(handle);
  return GdiObject{static_cast<int>(handles_.size())};
}

HGDIOBJ GdiObjectTable::find(GdiObject object) const {
  if (object.id < 1 || static_cast<std::size_t>(object.id) > handles_.size()) return nullptr;
  return handles_[static_cast<std::size_t>(object.id) - 1];
}

HGDIOBJ GdiObjectTable::remove(GdiObject object) {
  HGDIOBJ handle = find(object);
  if (handle != nullptr) handles_[static_cast<std::size_t>(object.id) - 1] = nullptr;
  return handle;
}

}  // namespace mtd
