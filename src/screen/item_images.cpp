#include "screen/item_images.h"

#include "core/procedure.h"

#include <string>
#include <utility>

namespace qv::screen {

ItemImages::ItemImages(const data::GameFolder& folder, platform::PictureLoader& loader,
                       MessageBoxService& boxes, platform::ImagePtr no_pic)
    : folder_(folder), loader_(loader), boxes_(boxes), no_pic_(std::move(no_pic)) {
  for (int slot = 0; slot <= 16; ++slot)
    Clear(slot);
}

void ItemImages::Clear(int slot) {
  ItemIcon[slot] = no_pic_;
  ItemHL[slot] = no_pic_;
  ItemPoint[slot] = no_pic_;
}

platform::ImagePtr ItemImages::Load(std::string_view name, std::string_view procedure) const {
  if (name.empty()) return nullptr;
  const std::string path = folder_.AppPath() + "resource\\gfx\\" + std::string(name);
  if (!folder_.FileExists(path)) return nullptr;
  platform::ImagePtr image;
  RunProcedure(boxes_, procedure, [&] {
    platform::PicturePtr picture = loader_.Load(folder_.Resolve(path));
    if (!picture->frames.empty()) image = picture->frames.front();
  });
  return image;
}

}  // namespace qv::screen
