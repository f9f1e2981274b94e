// The inventory bar: adding and replacing items with the duplicate and full rules,
// combining in one direction, compacting, the starting inventory, picking an item up
// and putting it back, and item data that is missing or broken. Examining the item in
// hand: its sound or its close-up window, then its effects in order (a map location, a
// flag change that runs the engine, the item turning into another), and the modes and
// pictures that do less.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "screen_fixture.h"
#include "sound/wav_writer.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// 1 key (combines with 2 into 3), 2 rope (names nothing), 3 keyrope (one copy only),
// 4 coin (any number), 5 a hand picture that is missing and no highlight.
constexpr const char* kGame = R"({"Scenes": [{}], "Items": [
    {"BarPicture": "key.gif", "HandPicture": "keyhand.gif", "HighlightPicture": "keyhl.gif",
     "CanCombine": 1, "CombinesWith": 2, "CombineProduct": 3, "CombineSound": "snap.wav",
     "CombineVolume": -4, "CombinePan": 5, "WrongUseSound": "nope.wav", "WrongUseVolume": -1,
     "WrongUsePan": 2, "ItemName": "Brass key", "InInventoryAtStart": 1},
    {"BarPicture": "rope.gif", "CanCombine": 1, "CombinesWith": 1, "CombineProduct": 0},
    {"BarPicture": "keyrope.gif", "InInventoryAtStart": 1},
    {"BarPicture": "coin.gif", "AllowDuplicates": 1},
    {"BarPicture": "cup.gif", "HandPicture": "gone.gif"}]})";

class InventoryTest : public ::testing::Test {
 protected:
  InventoryTest() {
    WritePictures(h, {"key.gif", "keyhand.gif", "keyhl.gif", "rope.gif", "keyrope.gif", "coin.gif",
                      "cup.gif"});
    h.dir().Write("resource/mmedia/full.wav", SilentWav());
    h.EnterScene(1);
  }
  screen::Inventory& inv() { return h.inventory(); }
  void Add(std::initializer_list<int16_t> items) {
    for (int16_t item : items)
      inv().AddInventoryItem(item, false, 0);
  }
  std::vector<int> Shown() {
    std::vector<int> shown;
    for (int s = 1; s <= 16; ++s) {
      if (h.screen().invitem[s]->Visible()) shown.push_back(s);
    }
    return shown;
  }

  EngineHarness h{kGame};
};

TEST_F(InventoryTest, DuplicatesAndAFullBar) {
  EXPECT_TRUE(inv().AddInventoryItem(3, false, 0));
  EXPECT_FALSE(inv().AddInventoryItem(3, false, 0));
  EXPECT_THAT(h.Lines(), ElementsAre("Item #3 added to Inventory",
                                     "Couldn't add Item #3 to Inventory - Already there."));
  inv().AddInventoryItem(1, false, 0);
  EXPECT_FALSE(inv().AddInventoryItem(3, true, 2)) << "also when replacing";
  EXPECT_THAT(BarItems(h), ElementsAre(3, 1));

  for (int i = 3; i <= 16; ++i)
    EXPECT_TRUE(inv().AddInventoryItem(4, false, 0));
  h.ClearLog();
  EXPECT_FALSE(inv().AddInventoryItem(4, false, 0));
  EXPECT_THAT(h.Lines(), ElementsAre("Couldn't add Item #4 to Inventory - Inventory Full."));
  EXPECT_TRUE(h.screen().MsgStatus->Visible());
  EXPECT_EQ(h.screen().Msg->Caption(), "Inventory Full");
  h.settings().inventory_full = {"full.wav", -3, 4};
  inv().AddInventoryItem(4, false, 0);
  EXPECT_TRUE(h.Played("Play(12, full.wav, False, 4, -3)"));
  EXPECT_EQ(inv().ItemsHeld, 16);

  EXPECT_TRUE(inv().AddInventoryItem(5, true, 16)) << "replacing works with a full bar";
  EXPECT_EQ(inv().Slots[16].Item, 5);
}

TEST_F(InventoryTest, CombiningWorksInOneDirectionAndLeavesTheProductInTheTargetsSlotIfItFits) {
  Add({4, 2, 1});
  inv().ItemMouseDown(2, LeftButton());  // the rope names the key, without a product
  h.ClearLog();
  inv().ItemMouseDown(3, LeftButton());
  EXPECT_THAT(h.Lines(), ElementsAre("Combine Inventory Item #2 with Item #1",
                                     "Inventory Item #2 can't be combined with anything."));
  EXPECT_EQ(inv().HandSlot(), 2);
  inv().BarMouseDown(LeftButton());

  inv().ItemMouseDown(3, LeftButton());  // the key, on the coin: wrong partner
  h.ClearLog();
  inv().ItemMouseDown(1, LeftButton());
  EXPECT_THAT(h.Lines(), Contains("Inventory Item #1 and Item #4 can't be combined."));
  EXPECT_TRUE(h.Played("Play(12, nope.wav, False, 2, -1)"));
  EXPECT_EQ(inv().HandSlot(), 3);

  h.ClearLog();
  inv().ItemMouseDown(2, LeftButton());  // the key on the rope
  EXPECT_THAT(h.Lines(), ElementsAre("Combine Inventory Item #1 with Item #2",
                                     "Inventory Item #1 combined with Item #2 (OK)",
                                     "Replace Inventory Item #1 with Item #3",
                                     "Inventory Bar compacted at slot 3"));
  EXPECT_TRUE(h.Played("Play(12, snap.wav, False, 5, -4)"));
  EXPECT_THAT(BarItems(h), ElementsAre(4, 3));
  EXPECT_THAT(Shown(), ElementsAre(1, 2));
  EXPECT_EQ(h.screen().invitem[2]->Picture(), inv().images.ItemIcon[2]);
  EXPECT_EQ(inv().HandSlot(), 99);
  EXPECT_EQ(h.screen().CurrentCursor(), 13);

  // A product the bar refuses (only one key-and-rope) uses nothing up.
  Add({2, 1});
  inv().ItemMouseDown(4, LeftButton());
  inv().ItemMouseDown(3, LeftButton());
  EXPECT_THAT(h.Lines(), Contains("Couldn't add Item #3 to Inventory - Already there."));
  EXPECT_THAT(BarItems(h), ElementsAre(4, 3, 2, 1));
  EXPECT_EQ(inv().HandSlot(), 4) << "the key is still in hand";
}

TEST_F(InventoryTest, CompactingMovesEverythingAlongAndTheLastSlotOnlyHides) {
  h.settings().InterfaceSetting41 = 1;  // item names on
  Add({4, 1, 2});
  const platform::ImagePtr key_highlight = inv().images.ItemHL[2];
  inv().CompactInventoryBar(1);
  EXPECT_EQ(inv().images.ItemHL[1], key_highlight);
  EXPECT_THAT(BarItems(h), ElementsAre(1, 2));
  EXPECT_EQ(h.screen().invitem[1]->ToolTip(), "Brass key");
  EXPECT_EQ(inv().Slots[1].CombineSound, "snap.wav");
  EXPECT_THAT(Shown(), ElementsAre(1, 2));

  inv().CompactInventoryBar(2);
  EXPECT_THAT(BarItems(h), ElementsAre(1));
  EXPECT_THAT(Shown(), ElementsAre(1));
  EXPECT_EQ(inv().images.ItemIcon[2], inv().images.NoPic());
  EXPECT_THROW(inv().CompactInventoryBar(2), VbError) << "an empty slot";
}

TEST_F(InventoryTest, PickingUpAndPuttingBack) {
  int prepared = 0;
  inv().prepare_closeup = [&](int16_t) { ++prepared; };
  Add({1, 5});
  ui::MouseArgs right;
  right.button = platform::MouseButton::kRight;
  inv().ItemMouseDown(1, right);
  EXPECT_EQ(inv().HandSlot(), 99) << "the right button does nothing";

  inv().ItemMouseDown(1, LeftButton());
  EXPECT_THAT(h.Lines(), Contains("Inventory Item #1 in hand"));
  EXPECT_FALSE(h.screen().invitem[1]->Visible());
  EXPECT_EQ(h.screen().PictureCursor(), inv().images.ItemPoint[1]);
  inv().ItemMouseMove(2);
  EXPECT_EQ(h.screen().PictureCursor(), inv().images.ItemHL[1]);
  EXPECT_TRUE(h.screen().ItemHiLite->Visible());
  inv().BarMouseMove();
  EXPECT_FALSE(h.screen().ItemHiLite->Visible());
  EXPECT_EQ(h.screen().PictureCursor(), inv().images.ItemPoint[1]);
  inv().BarMouseDown(LeftButton());
  EXPECT_THAT(h.Lines(), Contains("Inventory Item #1 returned to Inventory Bar"));
  EXPECT_TRUE(h.screen().invitem[1]->Visible());
  EXPECT_EQ(h.screen().CurrentCursor(), 13);
  EXPECT_EQ(inv().HandSlot(), 99);
  h.ClearLog();
  inv().BarMouseDown(LeftButton());
  EXPECT_TRUE(h.Lines().empty()) << "an empty hand puts nothing back";

  // The cup's hand picture is missing: the bar picture stands in; its highlight is NoPic.
  inv().ItemMouseDown(2, LeftButton());
  EXPECT_EQ(inv().images.ItemPoint[2], inv().images.ItemIcon[2]);
  EXPECT_EQ(inv().images.ItemHL[2], inv().images.NoPic());
  inv().BarMouseDown(LeftButton());
  inv().ItemMouseDown(1, LeftButton());
  EXPECT_EQ(prepared, 3) << "once per change of slot";
  inv().BarMouseDown(LeftButton());
  inv().ItemMouseDown(1, LeftButton());
  EXPECT_EQ(prepared, 3);

  h.screen().ShowCursor(14);
  inv().BarMouseDown(LeftButton());
  EXPECT_EQ(inv().HandSlot(), 1) << "nothing while the player must wait";
}

TEST_F(InventoryTest, TheStartingInventoryTakesTheFirstSixteenFlaggedItems) {
  EXPECT_EQ(inv().NewGameInventory(), 2);
  EXPECT_THAT(BarItems(h), ElementsAre(1, 3));
  EXPECT_THAT(Shown(), ElementsAre(1, 2));
  EXPECT_TRUE(h.Lines().empty()) << "no log lines";

  std::string items = "[";
  for (int i = 1; i <= 18; ++i)
    items += std::string(i > 1 ? ", " : "") + R"({"InInventoryAtStart": 1})";
  EngineHarness crowded(R"({"Scenes": [{}], "Items": )" + items + "]}");
  EXPECT_EQ(crowded.inventory().NewGameInventory(), 16);
  EXPECT_EQ(crowded.inventory().Slots[16].Item, 16);
  EXPECT_THAT(crowded.Lines(),
              ElementsAre("Starting inventory: 2 items flagged beyond the 16 slots left out."));
}

TEST_F(InventoryTest, ItemsWithoutARecordOrWithABrokenPicture) {
  EXPECT_THROW(inv().AddInventoryItem(0, false, 0), VbError);
  EXPECT_THROW(inv().AddInventoryItem(6, false, 0), VbError) << "past the end of the file";
  EXPECT_EQ(inv().ItemsHeld, 0);
  inv().AddInventoryItem(4, false, 0);
  EXPECT_THROW(inv().AddInventoryItem(4, true, 2), VbError) << "an empty slot";

  h.dir().Write("resource/gfx/coin.gif", std::string("not a picture"));
  h.pictures().ClearCache();
  EXPECT_TRUE(inv().AddInventoryItem(4, false, 0));
  EXPECT_THAT(
      h.Boxes(),
      ElementsAre(
          "Unexpected error in procedure: AddInventoryItem\r\nError #481: Invalid picture"));
  EXPECT_EQ(inv().images.ItemIcon[2], inv().images.NoPic());
  EXPECT_TRUE(h.screen().invitem[2]->Visible());
}

// Items: 1 examined by its sound, with every effect but the new item; 2 a close-up of
// the lamp that turns into item 3, whose close-up is its own; 4 a mode that does
// nothing. Scene 1: a responder that sets flag 9 when flag 7 is 3.
constexpr const char* kExamineGame = R"({"Items": [
    {"BarPicture": "a.gif", "ExamineMode": 0, "ExamineSound": "look.wav", "ExamineVolume": -10,
     "ExaminePan": 5, "ExamineAddsLocation": 1, "ExamineLocation": 2, "ExamineChangesFlag": 1,
     "ExamineFlag": 7, "ExamineFlagValue": 3},
    {"BarPicture": "a.gif", "ExamineMode": 1, "ItemName": "Brass lamp", "CloseupMode": 1,
     "CloseupFile": "lamp.gif", "ExamineSound": "hum.wav", "ExamineGivesItem": 1,
     "ExamineItemGiven": 3},
    {"BarPicture": "a.gif", "ExamineMode": 1, "CloseupMode": 2, "CloseupFile": "lit.gif"},
    {"BarPicture": "a.gif", "ExamineMode": 2, "ExamineSound": "look.wav", "ExamineChangesFlag": 1,
     "ExamineFlag": 8, "ExamineFlagValue": 1}],
  "Scenes": [{"Objects": [{"ObjType": 5, "ObjN0": 1, "ObjN1": 7, "ObjN2": 0, "ObjN3": 3,
                           "ObjN12": 1, "ObjN13": 9, "ObjN14": 1}]}]})";

class Examine : public ::testing::Test {
 protected:
  Examine() : h(kExamineGame) {
    WritePictures(h, {"a.gif"});
    WritePictures(h, {"lamp.gif", "lit.gif"}, 3);
    h.dir().Write("resource/mmedia/click.wav", SilentWav());
    h.settings().click = {"click.wav", -1, 2};
    h.EnterScene(1);
  }
  void Hold(int16_t item) {
    ASSERT_TRUE(h.inventory().AddInventoryItem(item, false, 0));
    h.inventory().ItemMouseDown(h.inventory().ItemsHeld, LeftButton());
    h.ClearLog();
  }

  EngineHarness h;
};

TEST_F(Examine, ASoundThenTheEffectsInOrderAndNothingForAnEmptyHandOrAnotherMode) {
  h.closeup().ExamineItemClick();
  EXPECT_THAT(h.Lines(), IsEmpty());
  EXPECT_TRUE(h.audio().calls().empty()) << "not even the button's sound";

  Hold(1);
  h.closeup().ExamineItemClick();
  h.Settle();
  EXPECT_THAT(h.Lines(),
              ElementsAre("Examine Item #1", "Location #2 added to Map.", "<Flag 7> Set to  3",
                          "[Resp Index # 1] Flag 7= 3. Taking action...", "<Flag 9> Set to  1"));
  EXPECT_TRUE(h.Played("Play(18, click.wav, False, 2, -1)"));
  EXPECT_TRUE(h.Played("Play(15, look.wav, False, 5, -10)"));
  EXPECT_EQ(h.state().Flags[9], 1) << "the flag change ran the engine";
  EXPECT_EQ(h.map().LocOnMap[2], 1);
  EXPECT_FALSE(h.closeup().form().Visible());

  h.inventory().BarMouseDown(LeftButton());
  Hold(4);
  h.closeup().ExamineItemClick();
  EXPECT_THAT(h.Lines(), ElementsAre("Examine Item #4")) << "no sound, no flag";
}

TEST_F(Examine, TheCloseUpOpensAtItsFixedSizeAnimatesAndTheItemTurnsIntoAnother) {
  Hold(2);
  screen::Closeup& closeup = h.closeup();
  User user(h.loop());
  bool busy = false;
  user.actions.push_back([&] {
    busy = h.screen().BusyCursorShowing();
    EXPECT_EQ(closeup.ClsCapt->Caption(), "Brass lamp");
    EXPECT_EQ(closeup.form().Width(), 273);  // 4100 x 4410 twips
    EXPECT_EQ(closeup.form().Height(), 294);
    h.loop().PassTime(screen::Closeup::kStartUpDelayMs);
    EXPECT_FALSE(closeup.Block->Visible());
    EXPECT_TRUE(closeup.ClsUpImg->Playing());
    EXPECT_TRUE(h.audio().channel(15).loop) << "mode 1 repeats the sound";
    closeup.Command1Click();
  });
  closeup.ExamineItemClick();
  h.Settle();
  EXPECT_TRUE(busy);
  EXPECT_THAT(h.Lines(), ElementsAre("Examine Item #2", "Examine Window Closed",
                                     "Replace Inventory Item #2 with Item #3"));
  EXPECT_FALSE(h.audio().channel(15).playing);
  EXPECT_EQ(h.inventory().ItemIn(1), 3);
  EXPECT_EQ(h.inventory().HandSlot(), 1) << "the new item stays in hand";

  // Examining the new item shows its own close-up, played once.
  const platform::PicturePtr lamp = closeup.ClsUpImg->Picture();
  user.actions.push_back([&] {
    EXPECT_NE(closeup.ClsUpImg->Picture(), lamp);
    EXPECT_EQ(closeup.ClsUpImg->PlayOnce(), 1);
    closeup.Command1Click();  // before it started: it never starts
  });
  closeup.ExamineItemClick();
  h.loop().PassTime(500);
  EXPECT_FALSE(closeup.ClsUpImg->Playing());
  EXPECT_FALSE(h.screen().BusyCursorShowing());
}

TEST_F(Examine, AMissingPictureOpensAnEmptyWindowAndAHugeOneNoLargerThanTheScreen) {
  std::filesystem::remove(h.dir().path() / "resource/gfx/lit.gif");
  Hold(3);
  screen::Closeup& closeup = h.closeup();
  User user(h.loop());
  user.actions.push_back([&] { closeup.Command1Click(); });
  closeup.ExamineItemClick();
  EXPECT_EQ(closeup.ClsUpImg->Picture(), nullptr);
  EXPECT_THAT(h.Boxes(), IsEmpty());

  h.dir().Write("resource/gfx/lit.gif", SolidGif(1500, 1200));
  h.settings().InterfaceSetting70 = 1;  // the close-up takes its picture's size
  h.inventory().PreparedCloseupSlot = 0;
  int width = 0, height = 0;
  user.actions.push_back([&] {
    width = closeup.form().Width();
    height = closeup.form().Height();
    EXPECT_LE(closeup.Command1->Left() + closeup.Command1->Width(), width);
    closeup.Command1Click();
  });
  closeup.ExamineItemClick();
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
}

}  // namespace
}  // namespace qv::testing
