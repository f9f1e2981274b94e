#include "screen/inventory.h"

#include <utility>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "data/scene_tables.h"

namespace qv::screen {

namespace {

// An item record with its texts as the player uses them: trimmed, in UTF-8.
data::ItemRecord ReadItemRecord(const data::SceneData& data, int16_t item) {
  data::ItemRecord r = data.ReadItem(item);
  for (std::string* text :
       {&r.ItemText1, &r.BarPicture, &r.HighlightPicture, &r.WrongUseSound, &r.ExamineSound,
        &r.ItemName, &r.CloseupFile, &r.HandPicture, &r.CombineSound, &r.ItemText29}) {
    *text = data::TableText(*text);
  }
  return r;
}

}  // namespace

ItemSlot ItemSlot::FromRecord(int16_t item, const data::ItemRecord& r) {
  ItemSlot slot;
  slot.Item = item;
  // Combining needs both the partner and the product.
  slot.CanCombine = r.CombinesWith < 1 || r.CombineProduct < 1 ? int16_t{0} : r.CanCombine;
  slot.CombinesWith = r.CombinesWith;
  slot.CombineProduct = r.CombineProduct;
  slot.WrongUseSound = r.WrongUseSound;
  slot.WrongUseVolume = r.WrongUseVolume;
  slot.WrongUsePan = r.WrongUsePan;
  slot.ExamineSound = r.ExamineSound;
  slot.ExamineVolume = r.ExamineVolume;
  slot.ExaminePan = r.ExaminePan;
  slot.ExamineMode = r.ExamineMode;
  slot.ItemName = r.ItemName;
  slot.CloseupMode = r.CloseupMode;
  slot.CloseupFile = r.CloseupFile;
  slot.ExamineGivesItem = r.ExamineGivesItem;
  slot.ExamineItemGiven = r.ExamineItemGiven;
  slot.ExamineAddsLocation = r.ExamineAddsLocation;
  slot.ExamineLocation = r.ExamineLocation;
  slot.ExamineChangesFlag = r.ExamineChangesFlag;
  slot.ExamineFlag = r.ExamineFlag;
  slot.ExamineFlagValue = r.ExamineFlagValue;
  slot.ExamineFlagOp = r.ExamineFlagOp;
  slot.HandPicture = r.HandPicture;
  slot.CombineSound = r.CombineSound;
  slot.ItemText29 = r.ItemText29;
  slot.CombineVolume = r.CombineVolume;
  slot.CombinePan = r.CombinePan;
  return slot;
}

Inventory::Inventory(InventoryServices services)
    : images(services.data.folder(), services.pictures, services.boxes, services.no_pic),
      s_(services) {
  GameScreen& screen = s_.screen;
  for (int16_t slot = 1; slot <= kSlots; ++slot) {
    ui::Image& item = *screen.invitem[slot];
    item.on_mouse_down = [this, slot](const ui::MouseArgs& args) { ItemMouseDown(slot, args); };
    item.on_mouse_move = [this, slot](const ui::MouseArgs&) { ItemMouseMove(slot); };
  }
  screen.InvBar->on_mouse_down = [this](const ui::MouseArgs& args) { BarMouseDown(args); };
  screen.InvBar->on_mouse_move = [this](const ui::MouseArgs&) { BarMouseMove(); };
}

void Inventory::Progress(const std::string& text) {
  if (state_ != nullptr && state_->VerboseLog) s_.log.Append(text);
}

void Inventory::PlaySound(const std::string& file, int32_t pan, int32_t volume) {
  s_.sound.PlayWAVQVX(file, false, media::kInventoryChannel, pan, volume);
}

int16_t Inventory::ItemIn(int16_t slot) const {
  return slot >= 1 && slot <= ItemsHeld ? Slots[slot].Item : int16_t{0};
}

platform::ImagePtr Inventory::HeldHighlight() const {
  if (hand_slot_ < 1 || hand_slot_ > kSlots) return nullptr;
  return images.ItemHL[hand_slot_];
}

void Inventory::ShowHandPicture() {
  s_.screen.ShowPictureCursor(s_.screen.FlashFixIcon->Picture());
}

bool Inventory::AddInventoryItem(int16_t item, bool replace, int16_t slot) {
  if (!replace && ItemsHeld == kSlots) {
    const data::SettingsSound& full = s_.settings.inventory_full;
    if (!full.file.empty()) {
      PlaySound(full.file, full.pan, full.volume);
    } else {
      s_.screen.ShowMessage("Inventory Full");
    }
    Progress("Couldn't add Item #" + PlainNum(item) + " to Inventory - Inventory Full.");
    return false;
  }
  if (replace && (slot < 1 || slot > ItemsHeld)) Raise(kErrSubscript);
  // An item the file has no record for would be an empty, invisible slot for good.
  if (item < 1 || item > s_.data.InvCount) Raise(kErrBadRecordNumber);
  const data::ItemRecord record = ReadItemRecord(s_.data, item);
  if (record.AllowDuplicates == 0) {
    for (int16_t s = 1; s <= ItemsHeld; ++s) {
      if (Slots[s].Item == item) {
        Progress("Couldn't add Item #" + PlainNum(item) + " to Inventory - Already there.");
        return false;
      }
    }
  }
  // The item a replacement takes the place of: the one in hand (examining turns it into
  // another, combining uses it up).
  const int16_t replaced = ItemIn(hand_slot_ != kEmptyHand ? hand_slot_ : slot);
  int16_t target = slot;
  if (!replace) target = ++ItemsHeld;
  FillSlot(target, item, record, !replace, "AddInventoryItem");
  if (replace) {
    s_.screen.FlashFixIcon->SetPicture(images.ItemPoint[target]);
    ShowHandPicture();
  }
  if (replace) {
    Progress("Replace Inventory Item #" + PlainNum(replaced) + " with Item #" + PlainNum(item));
  } else {
    Progress("Item #" + PlainNum(item) + " added to Inventory");
  }
  return true;
}

void Inventory::FillSlot(int16_t target, int16_t item, const data::ItemRecord& record,
                         bool appended, const char* procedure) {
  GameScreen& screen = s_.screen;
  ui::Image& bar_image = *screen.invitem[target];
  // Without a bar picture the bar image keeps the picture and visibility it had.
  if (!record.BarPicture.empty()) {
    platform::ImagePtr icon = images.Load(record.BarPicture, procedure);
    images.ItemIcon[target] = icon ? icon : images.NoPic();
    bar_image.SetPicture(images.ItemIcon[target]);
    if (appended) bar_image.SetVisible(true);
  }
  platform::ImagePtr hand = images.Load(record.HandPicture, procedure);
  images.ItemPoint[target] = hand ? hand : images.ItemIcon[target];
  platform::ImagePtr highlight = images.Load(record.HighlightPicture, procedure);
  images.ItemHL[target] = highlight ? highlight : images.NoPic();
  bar_image.SetToolTip(s_.settings.ItemNames() ? record.ItemName : std::string());
  Slots[target] = ItemSlot::FromRecord(item, record);
}

void Inventory::CompactInventoryBar(int16_t slot) {
  if (slot < 1 || slot > ItemsHeld) Raise(kErrSubscript);
  GameScreen& screen = s_.screen;
  // The close-up window holds the old slot's animation: the next pick-up prepares again.
  PreparedCloseupSlot = 0;
  const int16_t last = ItemsHeld;
  for (int16_t i = slot; i <= last; ++i) {
    ui::Image& image = *screen.invitem[i];
    if (i < last) {
      const ui::Image& next = *screen.invitem[i + 1];
      image.SetPicture(next.Picture());
      image.SetToolTip(s_.settings.ItemNames() ? next.ToolTip() : std::string());
      images.ItemIcon[i] = images.ItemIcon[i + 1];
      images.ItemHL[i] = images.ItemHL[i + 1];
      images.ItemPoint[i] = images.ItemPoint[i + 1];
      Slots[i] = Slots[i + 1];
    } else {
      image.SetPicture(nullptr);
      image.SetToolTip(std::string());
      images.Clear(i);
      Slots[i] = ItemSlot{};
    }
  }
  screen.invitem[slot]->SetVisible(true);
  screen.invitem[last]->SetVisible(false);
  --ItemsHeld;
  Progress("Inventory Bar compacted at slot " + PlainNum(slot));
}

void Inventory::CombineItems(int16_t hand_slot, int16_t target_slot) {
  const ItemSlot held = Slots[hand_slot];
  const ItemSlot target = Slots[target_slot];
  const std::string held_no = PlainNum(held.Item);
  const std::string target_no = PlainNum(target.Item);
  Progress("Combine Inventory Item #" + held_no + " with Item #" + target_no);
  if (held.CanCombine != 1) {
    Progress("Inventory Item #" + held_no + " can't be combined with anything.");
    return;
  }
  if (held.CombinesWith != target.Item) {
    Progress("Inventory Item #" + held_no + " and Item #" + target_no + " can't be combined.");
    if (!held.WrongUseSound.empty()) {
      PlaySound(held.WrongUseSound, held.WrongUsePan, held.WrongUseVolume);
    }
    return;
  }
  Progress("Inventory Item #" + held_no + " combined with Item #" + target_no + " (OK)");
  if (!held.CombineSound.empty()) {
    PlaySound(held.CombineSound, held.CombinePan, held.CombineVolume);
  } else if (!target.CombineSound.empty()) {
    PlaySound(target.CombineSound, target.CombinePan, target.CombineVolume);
  }
  // A product the inventory refuses (a second copy of a single item) uses nothing up:
  // the held item stays in hand.
  if (!AddInventoryItem(held.CombineProduct, true, target_slot)) return;
  s_.screen.ShowCursor(kDefaultCursor);
  CompactInventoryBar(hand_slot);
  hand_slot_ = kEmptyHand;
}

void Inventory::EmptySlots() {
  GameScreen& screen = s_.screen;
  ItemsHeld = 0;
  for (int16_t s = 1; s <= kSlots; ++s) {
    images.Clear(s);
    Slots[s] = ItemSlot{};
    screen.invitem[s]->SetPicture(nullptr);
    screen.invitem[s]->SetToolTip(std::string());
    screen.invitem[s]->SetVisible(false);
  }
}

int16_t Inventory::SavedGameInv(const std::array<int16_t, kSlots>& items) {
  EmptySlots();
  // Empty slots of the saved game are squeezed out.
  int16_t counter = 0;
  for (int16_t item : items) {
    if (item == 0) continue;
    if (item < 1 || item > s_.data.InvCount) Raise(kErrBadRecordNumber);
    ++counter;
    ItemsHeld = counter;
    FillSlot(counter, item, ReadItemRecord(s_.data, item), false, "SavedGameInv");
  }
  for (int16_t s = 1; s <= counter; ++s) {
    s_.screen.invitem[s]->SetPicture(images.ItemIcon[s]);
    s_.screen.invitem[s]->SetVisible(true);
  }
  return counter;
}

int16_t Inventory::NewGameInventory() {
  GameScreen& screen = s_.screen;
  EmptySlots();
  int16_t placed = 0;
  int more = 0;
  for (int16_t n = 1; n <= s_.data.InvCount; ++n) {
    const data::ItemRecord record = ReadItemRecord(s_.data, n);
    if (record.InInventoryAtStart != 1) continue;
    if (placed == kSlots) {
      ++more;
      continue;
    }
    ++placed;
    ItemsHeld = placed;
    FillSlot(placed, n, record, false, "StartNewGame");
  }
  for (int16_t s = 1; s <= placed; ++s) {
    screen.invitem[s]->SetPicture(images.ItemIcon[s]);
    screen.invitem[s]->SetVisible(true);
  }
  // The bar has 16 slots: a game that starts with more tells its author which were left
  // out, whatever the log setting.
  if (more > 0) {
    s_.log.Append("Starting inventory: " + PlainNum(more) + (more == 1 ? " item" : " items") +
                  " flagged beyond the 16 slots left out.");
  }
  return placed;
}

void Inventory::ClearAllItems() {
  GameScreen& screen = s_.screen;
  for (int16_t s = 1; s <= kSlots; ++s) {
    images.Clear(s);
    Slots[s] = ItemSlot{};
    screen.invitem[s]->SetPicture(nullptr);
    screen.invitem[s]->SetVisible(false);
  }
  ItemsHeld = 0;
  PreparedCloseupSlot = 0;
  // An item left in hand would belong to no slot: using it would remove another.
  if (hand_slot_ != kEmptyHand) {
    hand_slot_ = kEmptyHand;
    screen.FlashFixIcon->SetPicture(nullptr);
    if (!screen.BusyCursorShowing()) screen.ShowCursor(kDefaultCursor);
  }
}

void Inventory::ShowItem(int16_t slot) {
  if (slot >= 1 && slot <= kSlots) s_.screen.invitem[slot]->SetVisible(true);
}

void Inventory::HideAllItems() {
  for (int16_t s = 1; s <= kSlots; ++s)
    s_.screen.invitem[s]->SetVisible(false);
}

void Inventory::ItemMouseDown(int16_t slot, const ui::MouseArgs& args) {
  GameScreen& screen = s_.screen;
  if (args.button != platform::MouseButton::kLeft || screen.BusyCursorShowing()) return;
  // The slot in hand and the slots past the last item show nothing to click.
  if (slot > ItemsHeld || slot == hand_slot_) return;
  RunProcedure(s_.boxes, "invitem_MouseDown", [&] {
    if (hand_slot_ != kEmptyHand) {
      CombineItems(hand_slot_, slot);
      return;
    }
    Progress("Inventory Item #" + PlainNum(Slots[slot].Item) + " in hand");
    screen.invitem[slot]->SetVisible(false);
    hand_slot_ = slot;
    if (PreparedCloseupSlot != slot) {
      if (prepare_closeup) prepare_closeup(slot);
      PreparedCloseupSlot = slot;
    }
    screen.FlashFixIcon->SetPicture(images.ItemPoint[slot]);
    ShowHandPicture();
  });
}

void Inventory::ItemMouseMove(int16_t slot) {
  GameScreen& screen = s_.screen;
  if (screen.BusyCursorShowing()) return;
  screen.LastHoverButton = kNoHoverButton;
  screen.ShowNormalExamineButton();
  const ui::Image& item = *screen.invitem[slot];
  screen.ItemHiLite->Move(item.Left() - 1, item.Top());
  screen.ItemHiLite->SetVisible(true);
  if (hand_slot_ == kEmptyHand) {
    screen.ShowCursor(kDefaultCursor);
  } else if (hand_slot_ != slot) {
    screen.ShowPictureCursor(HeldHighlight());
  }
}

void Inventory::BarMouseDown(const ui::MouseArgs& args) {
  GameScreen& screen = s_.screen;
  if (args.button != platform::MouseButton::kLeft || hand_slot_ == kEmptyHand ||
      screen.BusyCursorShowing()) {
    return;
  }
  Progress("Inventory Item #" + PlainNum(ItemIn(hand_slot_)) + " returned to Inventory Bar");
  ShowItem(hand_slot_);
  screen.FlashFixIcon->SetPicture(nullptr);
  screen.ShowCursor(kDefaultCursor);
  hand_slot_ = kEmptyHand;
}

void Inventory::BarMouseMove() {
  GameScreen& screen = s_.screen;
  // The busy cursor stays while the player must wait, wherever the pointer goes.
  if (screen.BusyCursorShowing()) return;
  screen.LastHoverButton = kNoHoverButton;
  screen.ShowNormalExamineButton();
  screen.ItemHiLite->SetVisible(false);
  if (hand_slot_ == kEmptyHand) {
    screen.ShowCursor(kDefaultCursor);
  } else {
    ShowHandPicture();
  }
}

}  // namespace qv::screen
