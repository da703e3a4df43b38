#include "platform/raster/RasterObjects.h"

namespace mtd {

GdiObject RasterObjects::add(const RasterObject& object) {
  objects_.push_back(object);
  alive_.push_back(true);
  return GdiObject{static_cast<int>(objects_.size())};
}

void RasterObjects::remove(GdiObject object) {
  if (find(object)) alive_[object.id - 1] = false;
}

const RasterObject* RasterObjects::find(GdiObject object) const {
  if (object.id < 1 || object.id > static_cast<int>(objects_.size())) return nullptr;
  if (!alive_[object.id - 1]) return nullptr;
  return &objects_[object.id - 1];
}

}  // namespace mtd
