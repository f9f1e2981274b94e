// Examining the item in hand: its sound or its close-up window, then its effects in
// order (a map location, a flag change that runs the engine, the item turning into
// another), and the modes and pictures that do less.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "screen_fixture.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Items: 1 examined by its sound, with every effect but the new item; 2 a close-up of
// the lamp that turns into item 3, whose close-up is its own; 4 a mode that does
// nothing. Scene 1: a responder that sets flag 9 when flag 7 is 3.
constexpr const char* kGame = R"({"Items": [
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
  Examine() : h(kGame) {
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
