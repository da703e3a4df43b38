#include "Picture.h"

#include <utility>

namespace mtd::e2e {

std::optional<Picture> layOut(Screenshot shot, ClientArea client, std::int32_t blockLength,
                              std::string& whyNot) {
  Picture picture;
  picture.scale = makeScreenScale(ScreenSize{shot.width(), shot.height()});
  picture.grid = layoutGrid(picture.scale, client.width, client.height, blockLength);
  if (!picture.grid.valid) {
    whyNot = "the client area " + std::to_string(client.width) + "x" +
             std::to_string(client.height) + " gives no grid";
    return std::nullopt;
  }
  picture.shot = std::move(shot);
  picture.client = client;
  picture.blockLength = blockLength;
  return picture;
}

}  // namespace mtd::e2e
