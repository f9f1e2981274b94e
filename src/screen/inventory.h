#pragma once
// The inventory: up to 16 items, shown left to right in the inventory bar `InvBar` of
// the game screen (one `invitem` picture per slot). The player picks an item up with the
// left button (it leaves the bar and becomes the cursor), uses it on a scene object,
// combines it with another item by clicking that one, or puts it back by clicking the
// bar. Items come from the item file; each slot keeps a copy of its item's record.
//
// Slots 1..ItemsHeld hold the items without gaps, in the order they were added. An item
// is removed only by CompactInventoryBar and replaced only by AddInventoryItem with the
// replace switch (combining, examining).

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/message_box.h"
#include "core/vb_array.h"
#include "data/general_settings.h"
#include "data/item_record.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "engine/collaborators.h"
#include "engine/game_state.h"
#include "media/sound_channels.h"
#include "screen/game_screen.h"
#include "screen/item_images.h"
#include "ui/control.h"

namespace qv::screen {

// What a slot keeps of its item's record (fields 5 to 17 and 19 to 31). Sound volumes
// and pans are 32-bit, as the sound channels take them.
struct ItemSlot {
  int16_t Item = 0;
  // 1 = combines with CombinesWith into CombineProduct; 0 when either number is below 1.
  int16_t CanCombine = 0;
  int16_t CombinesWith = 0;
  int16_t CombineProduct = 0;
  std::string WrongUseSound;
  int32_t WrongUseVolume = 0;
  int32_t WrongUsePan = 0;
  std::string ExamineSound;
  int32_t ExamineVolume = 0;
  int32_t ExaminePan = 0;
  int16_t ExamineMode = 0;
  std::string ItemName;
  int16_t CloseupMode = 0;
  std::string CloseupFile;
  int16_t ExamineGivesItem = 0;
  int16_t ExamineItemGiven = 0;
  int16_t ExamineAddsLocation = 0;
  int16_t ExamineLocation = 0;
  int16_t ExamineChangesFlag = 0;
  int16_t ExamineFlag = 0;
  int16_t ExamineFlagValue = 0;
  int16_t ExamineFlagOp = 0;
  std::string HandPicture;
  std::string CombineSound;
  std::string ItemText29;
  int32_t CombineVolume = 0;
  int32_t CombinePan = 0;

  // The slot's copy of an item record (its texts already trimmed).
  static ItemSlot FromRecord(int16_t item, const data::ItemRecord& record);
};

// What the inventory works with; everything must outlive it.
struct InventoryServices {
  MessageBoxService& boxes;
  data::SceneData& data;
  platform::PictureLoader& pictures;
  GameScreen& screen;
  diag::NotifyLog& log;
  media::SoundChannels& sound;
  const data::GeneralSettings& settings;
  // The empty picture (`NoPic`).
  platform::ImagePtr no_pic;
};

class Inventory final : public engine::InventoryPort {
 public:
  static constexpr int16_t kSlots = 16;
  static constexpr int16_t kEmptyHand = 99;

  // Connects the mouse handlers of `invitem(1..16)` and `InvBar`.
  explicit Inventory(InventoryServices services);
  Inventory(const Inventory&) = delete;
  Inventory& operator=(const Inventory&) = delete;

  // The game state whose VerboseLog decides the progress lines. Set once, before use.
  void AttachState(const engine::GameState& state) { state_ = &state; }

  VbArray<ItemSlot, 0, kSlots> Slots;
  int16_t ItemsHeld = 0;
  ItemImages images;

  // The slot whose close-up animation the close-up window has loaded (0: none), and the
  // flag that window sets when loading has ended. Picking up an item from another slot
  // calls prepare_closeup for it; compacting the bar makes the prepared slot stale.
  int16_t PreparedCloseupSlot = 0;
  bool CloseupLoaded = false;
  std::function<void(int16_t slot)> prepare_closeup;

  // Appends `item` (replace false) or puts it into `slot` over what is there (replace
  // true). Refused, with the log line and nothing changed: an append with 16 items
  // ("Inventory Full" on the message line, or the game's inventory-full sound), and a
  // second copy of an item that allows only one. Returns true when the item went in.
  // An item number without a record in the item file (below 1 or past the end) raises
  // "Bad record number" (63) and a replace slot outside 1..ItemsHeld "Subscript out of
  // range" (9), both before anything changes.
  bool AddInventoryItem(int16_t item, bool replace, int16_t slot);
  // Removes the item in `slot` and closes the gap.
  void CompactInventoryBar(int16_t slot);
  // Tries to combine the item in `hand_slot` with the one in `target_slot`: the held
  // item's record decides (the relation is one-directional). On success the product
  // takes the target's slot and the held item leaves the inventory.
  void CombineItems(int16_t hand_slot, int16_t target_slot);
  // The debug window's Clear All: every slot and its pictures empty, nothing in the bar
  // and nothing in hand.
  void ClearAllItems();
  // A new game's starting inventory: every item whose record says it is held at the
  // start, in record order, up to 16; the bar shows them. Returns how many were placed.
  int16_t NewGameInventory();
  // A restored game's inventory: the items of the saved slots in order, empty slots
  // squeezed out, each with its record's attributes and pictures; the bar shows them.
  // Returns how many there are. An item without a record raises 63 (the slots are empty
  // then); the saved game is checked before it gets here.
  int16_t SavedGameInv(const std::array<int16_t, kSlots>& items);

  // engine::InventoryPort
  void AddInventoryItem(int16_t item) override { AddInventoryItem(item, false, 0); }
  int16_t HandSlot() const override { return hand_slot_; }
  void SetHandSlot(int16_t slot) override { hand_slot_ = slot; }
  void ShowItem(int16_t slot) override;
  void HideAllItems() override;

  // The item in a slot (0 when the slot is empty or out of range).
  int16_t ItemIn(int16_t slot) const;
  // The highlighted picture of the item in hand (null when the hand is empty).
  platform::ImagePtr HeldHighlight() const;

  // The mouse handlers of the bar.
  void ItemMouseDown(int16_t slot, const ui::MouseArgs& args);
  void ItemMouseMove(int16_t slot);
  void BarMouseDown(const ui::MouseArgs& args);
  void BarMouseMove();

 private:
  void Progress(const std::string& text);
  // Every slot, its pictures and its bar image empty; no items held.
  void EmptySlots();
  // The bar picture, tool tip, pictures and slot table of `target` from a record.
  void FillSlot(int16_t target, int16_t item, const data::ItemRecord& record, bool appended,
                const char* procedure);
  void PlaySound(const std::string& file, int32_t pan, int32_t volume);
  // The held item is over something it can be used on / the bar: the cursor it shows.
  void ShowHandPicture();

  InventoryServices s_;
  const engine::GameState* state_ = nullptr;
  int16_t hand_slot_ = kEmptyHand;
};

}  // namespace qv::screen
