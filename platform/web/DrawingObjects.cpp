#include "platform/web/DrawingObjects.h"

namespace mtd {

GdiObject DrawingObjects::add(const DrawingObject& object) {
  if (objects_.empty()) {
    objects_.emplace_back();
    alive_.push_back(false);
  }
  objects_.push_back(object);
  alive_.push_back(true);
  return GdiObject{static_cast<int>(objects_.size() - 1)};
}

void DrawingObjects::remove(GdiObject object) {
  if (find(object)) alive_[static_cast<std::size_t>(object.id)] = false;
}

const DrawingObject* DrawingObjects::find(GdiObject object) const {
  const auto index = static_cast<std::size_t>(object.id);
  if (object.id <= 0 || index >= objects_.size() || !alive_[index]) return nullptr;
  return &objects_[index];
}

}  // namespace mtd
