#pragma once
// The pictures of the items in the inventory slots (the `ItemImages` picture holders):
// per slot the bar picture `ItemIcon`, the highlighted picture `ItemHL` (the cursor while
// the held item is over something it can be used on) and the hand picture `ItemPoint`
// (the cursor while the item is held), and `NoPic`, the empty picture that stands in for
// a file that is missing.

#include <cstdint>
#include <string_view>

#include "core/message_box.h"
#include "core/vb_array.h"
#include "data/game_folder.h"
#include "platform/image.h"
#include "platform/pictures.h"

namespace qv::screen {

class ItemImages {
 public:
  template <typename T>
  using SlotPictures = VbArray<T, 0, 16>;

  // `no_pic` is the empty picture; every slot starts with it.
  ItemImages(const data::GameFolder& folder, platform::PictureLoader& loader,
             MessageBoxService& boxes, platform::ImagePtr no_pic);

  SlotPictures<platform::ImagePtr> ItemIcon;
  SlotPictures<platform::ImagePtr> ItemHL;
  SlotPictures<platform::ImagePtr> ItemPoint;
  const platform::ImagePtr& NoPic() const { return no_pic_; }

  // The three pictures of a slot become NoPic.
  void Clear(int slot);

  // The first frame of resource\gfx\<name>, or null when the name is empty or the file
  // does not exist. A file that exists but cannot be shown is reported with the
  // unexpected-error box of `procedure`, and gives null too: the item is still usable.
  platform::ImagePtr Load(std::string_view name, std::string_view procedure) const;

 private:
  const data::GameFolder& folder_;
  platform::PictureLoader& loader_;
  MessageBoxService& boxes_;
  platform::ImagePtr no_pic_;
};

}  // namespace qv::screen
