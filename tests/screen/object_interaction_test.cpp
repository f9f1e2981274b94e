// Clicks and hovers on scene objects, as a player makes them: links with and without
// their item, goodies, switches, reactors, the blocking conversation, unknown types and
// the cursor over each kind of object.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "screen_fixture.h"
#include "sound/wav_writer.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// Items: 1 the key (it has a wrong-use sound), 2 the rope (none), 3 a coin.
constexpr const char* kItems = R"("Items": [
    {"BarPicture": "key.gif", "HandPicture": "keyhand.gif", "HighlightPicture": "keyhl.gif",
     "WrongUseSound": "nokey.wav", "WrongUseVolume": -100, "WrongUsePan": 200},
    {"BarPicture": "rope.gif"},
    {"BarPicture": "coin.gif", "AllowDuplicates": 1}])";

std::string Game(const std::string& scenes) {
  return std::string("{") + kItems + R"(, "Scenes": )" + scenes + "}";
}

class Objects : public ::testing::Test {
 protected:
  void Start(const std::string& scenes) {
    h.emplace(Game(scenes));
    WritePictures(*h, {"key.gif", "keyhand.gif", "keyhl.gif", "rope.gif", "coin.gif"});
    h->dir().Write("resource/mmedia/refused.wav", SilentWav());
    h->dir().Write("resource/mmedia/full.wav", SilentWav());
    h->EnterScene(1);
  }
  void Give(int16_t item) { ASSERT_TRUE(h->inventory().AddInventoryItem(item, false, 0)); }
  void PickUp(int16_t slot) { h->inventory().ItemMouseDown(slot, LeftButton()); }
  void Click(int16_t n) {
    h->interaction().AnimationClick(n);
    h->Settle();
  }

  std::optional<EngineHarness> h;
};

TEST_F(Objects, AOnceOnlyLinkRefusedForLackOfItsItemStaysUsable) {
  Start(R"([{"Objects": [{"ObjType": 1, "ObjN13": 1, "ObjN0": 5, "ObjN6": 1, "ObjN7": 1,
       "ObjN21": 1, "ObjS3": "locked.wav", "ObjN9": -50, "ObjN10": 30, "ObjN11": 1,
       "ObjN12": 2, "ObjN17": 1, "ObjN18": 10, "ObjN19": 1, "ObjN20": 0}]}, {}])");
  h->settings().refusal = {"refused.wav", -20, 40};

  Click(1);  // empty hand: the link's own refusal sound on its third channel (slot 1)
  EXPECT_THAT(h->Lines(), ElementsAre("*** HotSpot (Object #1) requires Inventory Item #1!***"));
  EXPECT_TRUE(h->Played("Play(1, locked.wav, False, 30, -50)"));

  Give(2);
  PickUp(1);
  h->ClearLog();
  Click(1);  // the rope has no wrong-use sound: the game's refusal sound, on channel 15
  EXPECT_TRUE(h->Played("Play(15, refused.wav, False, 40, -20)"));
  EXPECT_EQ(h->inventory().HandSlot(), 1) << "the wrong item stays in hand";
  EXPECT_EQ(h->scene().CurrentScene, 1);

  h->inventory().BarMouseDown(LeftButton());
  Give(1);
  PickUp(2);
  h->ClearLog();
  Click(1);
  EXPECT_THAT(h->Lines(), Contains("Inventory Item #1 used on HotSpot (Object #1)"));
  EXPECT_EQ(h->state().Flags[10], 1);
  EXPECT_EQ(h->scene().CurrentScene, 2);
  EXPECT_THAT(BarItems(*h), ElementsAre(2)) << "the key was used up";
}

TEST_F(Objects, AWrongItemPlaysItsOwnSoundALinkWithoutTargetOnlyChangesItsFlagAndOneOpensTheMap) {
  Start(R"([{"Objects": [
      {"ObjType": 1, "ObjN13": 1, "ObjN6": 1, "ObjN7": 2, "ObjN8": 1, "ObjN11": 1,
       "ObjN12": 0, "ObjN17": 1, "ObjN18": 4, "ObjN19": 2, "ObjN20": 1, "ObjS2": "open.wav",
       "ObjN4": -5, "ObjN5": 6, "ObjN23": 9},
      {"ObjType": 1, "ObjN13": 1, "ObjN11": 2, "ObjS1": "hum.wav", "ObjN22": 11}]}])");
  Give(1);
  Give(2);
  PickUp(1);
  Click(1);
  EXPECT_TRUE(h->Played("Play(15, nokey.wav, False, 200, -100)"));
  h->inventory().BarMouseDown(LeftButton());
  PickUp(2);
  h->ClearLog();
  Click(1);
  EXPECT_TRUE(h->Played("Play(9, open.wav, False, 6, -5)")) << "its second channel";
  EXPECT_EQ(h->state().Flags[4], 2);
  EXPECT_THAT(BarItems(*h), ElementsAre(1, 2)) << "the item is kept";
  EXPECT_EQ(h->screen().CurrentCursor(), 13) << "no busy cursor: nothing loads";
  EXPECT_EQ(h->scene().CurrentScene, 1);

  User user(h->loop());
  bool covered = false;
  user.actions.push_back([&] {
    covered = h->map().form().Visible() && h->screen().Block->Visible();
    h->map().ButtnCancelClick();
  });
  Click(2);  // the map: the cover, the default cursor, the map window
  EXPECT_TRUE(covered);
  EXPECT_EQ(h->screen().CurrentCursor(), 13);
  EXPECT_FALSE(h->audio().channel(11).playing) << "its waiting sound stopped";
}

TEST_F(Objects, AGoodieGivesItsItemAndPlaysASoundAMovieOrNothingButNotIntoAFullBar) {
  Start(R"([{"Objects": [
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 3, "ObjS2": "take.WAV", "ObjN3": -7, "ObjN4": 8,
       "ObjN15": 1, "ObjN16": 7, "ObjN17": 2, "ObjN18": 1, "ObjN6": 0, "ObjS3": "never.wav"},
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 3, "ObjS2": "clip.Avi", "ObjN3": 4},
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 3, "ObjS2": "take.mp3"},
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 3, "ObjN6": 1, "ObjN7": 2},
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 3, "ObjN6": 1, "ObjN7": 1, "ObjS2": "take.wav",
       "ObjN15": 1, "ObjN16": 7, "ObjN17": 1, "ObjN18": 0}]}])");
  h->settings().refusal = {"refused.wav", 0, 0};
  h->settings().inventory_full = {"full.wav", -30, 10};
  Click(1);
  EXPECT_THAT(h->Lines(), ElementsAre("Goodie (Object #1) clicked.", "Item #3 added to Inventory",
                                      "<Flag 7> Add 2 (Value = 2)"));
  EXPECT_TRUE(h->Played("Play(1, take.WAV, False, 8, -7)"));
  Click(2);
  EXPECT_TRUE(h->Called("PlayMovie(clip.Avi, 4, True, False)"));
  h->audio().ClearCalls();
  Click(3);
  EXPECT_THAT(BarItems(*h), ElementsAre(3, 3, 3));
  Click(4);  // needs the rope: a Goodie has no default refusal sound
  EXPECT_TRUE(h->audio().calls().empty()) << h->audio().calls().front();

  // With sixteen items only its log line and the bar-full sound: the key stays in hand.
  Give(1);
  for (int i = 5; i <= 16; ++i)
    Give(3);
  PickUp(4);
  h->ClearLog();
  Click(5);
  EXPECT_THAT(h->Lines(), ElementsAre("Inventory Item #1 used on Goodie (Object #5)"));
  EXPECT_THAT(h->audio().calls(), ElementsAre("Play(15, full.wav, False, 10, -30)"));
  EXPECT_EQ(h->inventory().ItemsHeld, 16);
  EXPECT_EQ(h->inventory().HandSlot(), 4);
  EXPECT_EQ(h->state().Flags[7], 2) << "object 1's change only";
}

TEST_F(Objects, ASwitchOfOneFrameChangesAtOnceOfSeveralWhenItsMovementEndsWithItsItemIfItNeedsOne) {
  Start(R"([{"Objects": [
      {"ObjType": 3, "ObjN12": 1, "ObjN0": 20, "ObjN4": 7, "ObjS1": "off.wav", "ObjS2": "on.wav",
       "ObjN2": -1, "ObjN3": 2, "ObjN5": -3, "ObjN6": 4},
      {"ObjType": 3, "ObjN12": 1, "ObjN0": 21, "ObjN4": 1, "ObjS0": "lever.gif"},
      {"ObjType": 3, "ObjN12": 1, "ObjN0": 30, "ObjN4": 5, "ObjN7": 1, "ObjN8": 2, "ObjN9": 0,
       "ObjN17": 4}]}])");
  WritePictures(*h, {"lever.gif"}, 3);
  h->EnterScene(1);
  Click(1);
  EXPECT_EQ(h->state().Flags[20], 7);
  EXPECT_TRUE(h->Played("Play(1, on.wav, False, 4, -3)"));
  Click(1);
  EXPECT_EQ(h->state().Flags[20], 0);
  EXPECT_TRUE(h->Played("Play(1, off.wav, False, 2, -1)"));

  h->ClearLog();
  Click(2);
  EXPECT_EQ(h->state().Flags[21], 0) << "not before the lever has moved";
  EXPECT_TRUE(h->engine().clicks.SwitchAnimating[2]);
  Click(2);  // ignored while it moves
  EXPECT_EQ(h->Count(h->Lines(), "Switch (Object #2) clicked."), 1);
  h->loop().PassTime(1000);
  EXPECT_EQ(h->state().Flags[21], 1);
  EXPECT_FALSE(h->engine().clicks.SwitchAnimating[2]);
  Click(2);  // off again: the movement plays backwards from the last frame
  EXPECT_EQ(h->screen().Animation[2]->Direction(), media::AnimatedPicture::kBackward);
  h->loop().PassTime(1000);
  EXPECT_EQ(h->state().Flags[21], 0);

  // One that needs an item refuses on its second channel, then uses the item up.
  h->settings().refusal = {"refused.wav", -20, 40};
  h->ClearLog();
  Click(3);
  EXPECT_THAT(h->Lines(), ElementsAre("*** Switch (Object #3) requires Inventory Item #2!***"));
  EXPECT_TRUE(h->Played("Play(4, refused.wav, False, 40, -20)"));
  Give(1);
  Give(2);
  PickUp(2);
  h->ClearLog();
  Click(3);
  EXPECT_THAT(h->Lines(), ElementsAre("Inventory Item #2 used on Switch (Object #3)",
                                      "Inventory Bar compacted at slot 2", "<Flag 30> Set to  5"));
  EXPECT_THAT(BarItems(*h), ElementsAre(1));
}

TEST_F(Objects, AReactorReactsOnceOnlyWithItsSoundMovieOrAnimation) {
  Start(R"([{"Objects": [
      {"ObjType": 4, "ObjN4": 1, "ObjN0": 2, "ObjS2": "buzz.wav", "ObjN2": -9, "ObjN3": 1,
       "ObjN14": 1, "ObjN15": -1, "ObjN8": 1, "ObjN9": 5, "ObjN10": 3, "ObjN11": 0,
       "ObjN12": 1, "ObjN13": 4},
      {"ObjType": 4, "ObjN4": 1, "ObjN0": 3, "ObjS1": "show.avi", "ObjN1": 6},
      {"ObjType": 4, "ObjN4": 1, "ObjN0": 5, "ObjS0": "wheel.gif", "ObjS2": "spin.wav"},
      {"ObjType": 4, "ObjN4": 1, "ObjN0": 1, "ObjS2": "buzz.wav", "ObjS1": "show.avi"},
      {"ObjType": 4, "ObjN4": 1, "ObjN0": 6, "ObjS2": "buzz.wav", "ObjS1": "show.avi"}]}])");
  WritePictures(*h, {"wheel.gif"}, 3);
  h->EnterScene(1);
  h->interaction().AnimationMouseMove(1);
  EXPECT_EQ(h->screen().CurrentCursor(), 12);
  Click(1);
  EXPECT_THAT(h->Lines(), Contains("Reactor (Object #1) clicked."));
  EXPECT_EQ(h->state().Flags[5], 3);
  EXPECT_TRUE(h->Played("Play(15, buzz.wav, False, 1, -9)"));
  EXPECT_THAT(h->Lines(), Contains("Location #4 added to Map."));
  h->ClearLog();
  Click(1);
  EXPECT_TRUE(h->Lines().empty()) << "used up";
  h->interaction().AnimationMouseMove(1);
  EXPECT_EQ(h->screen().CurrentCursor(), 13);

  Click(2);
  EXPECT_TRUE(h->Called("PlayMovie(show.avi, 6, True, False)"));
  Click(3);
  EXPECT_TRUE(h->screen().Animation[3]->Playing());
  EXPECT_TRUE(h->Played("Play(3, spin.wav, False, 0, 0)"));

  h->ClearLog();
  Click(4);  // action 1 plays its sound as action 2 does
  EXPECT_THAT(h->audio().calls(), ElementsAre("Play(4, buzz.wav, False, 0, 0)"));
  EXPECT_THAT(h->calls().calls(), Not(Contains(HasSubstr("PlayMovie"))));
  h->ClearLog();
  Click(5);  // an action the player does not know: only the log line
  EXPECT_THAT(h->Lines(), ElementsAre("Reactor (Object #5) clicked."));
  EXPECT_TRUE(h->audio().calls().empty());
  EXPECT_TRUE(h->calls().calls().empty());
}

TEST_F(Objects, ABlockingConversationStillLetsGoodiesReact) {
  EngineHarness game(R"({"Items": [{"BarPicture": "coin.gif"}],
      "Conversations": [{"ConvLineText": ["Hello there", "", "", "", ""]}],
      "Scenes": [{"Objects": [
        {"ObjType": 8, "ObjN0": 1, "ObjN1": 1, "ObjN7": 1},
        {"ObjType": 2, "ObjN11": 1, "ObjN5": 1},
        {"ObjType": 4, "ObjN4": 1, "ObjN0": 1, "ObjN8": 1, "ObjN9": 3, "ObjN10": 1}]}]})");
  game.EnterScene(1);
  ASSERT_TRUE(game.screen().ConvBox->Visible());
  game.conversations().ConvTextMouseMove(1);
  ASSERT_EQ(game.screen().ConvText[1]->ForeColor(), engine::kHoveredLineColor);
  game.interaction().AnimationMouseMove(3);
  EXPECT_NE(game.screen().CurrentCursor(), 12) << "no reactor cursor while it cannot react";
  EXPECT_EQ(game.screen().ConvText[1]->ForeColor(), engine::kLineColor)
      << "the line under the pointer before loses its highlight all the same";
  game.interaction().AnimationClick(3);
  EXPECT_EQ(game.state().Flags[3], 0);
  game.interaction().AnimationMouseMove(2);
  EXPECT_EQ(game.screen().CurrentCursor(), 11);
  game.interaction().AnimationClick(2);
  EXPECT_EQ(game.inventory().ItemsHeld, 1);
}

TEST_F(Objects, MovingOntoAnObjectOrTheBarTakesTheHighlightsOff) {
  Start(R"([{"Objects": [{"ObjType": 2, "ObjN11": 1}]}])");
  screen::GameScreen& screen = h->screen();
  const platform::ImagePtr normal = h->inventory().images.NoPic();
  const auto lit = std::make_shared<platform::Image>(4, 4, std::vector<uint32_t>(16));
  screen.MainMenuNormal = screen.SaveGameNormal = screen.ExamineNormal = normal;
  auto lit_buttons = [&] {
    int count = 0;
    for (ui::Image* button : {screen.MainMenuButtn, screen.SaveGameButtn, screen.ExamineItem}) {
      count += button->Picture() == lit ? 1 : 0;
      button->SetPicture(lit);  // lit again for the next move
    }
    screen.ItemHiLite->SetVisible(true);
    return count;
  };
  lit_buttons();
  h->engine().SceneChanging = true;  // stops the move before the cursor, not before this
  screen.ShowCursor(3);
  h->interaction().AnimationMouseMove(1);
  EXPECT_FALSE(screen.ItemHiLite->Visible());
  EXPECT_EQ(lit_buttons(), 0);
  EXPECT_EQ(screen.CurrentCursor(), 3);
  h->inventory().BarMouseMove();
  EXPECT_EQ(lit_buttons(), 2) << "the bar takes it off the examine button only";
  screen.ShowCursor(14);
  h->interaction().AnimationMouseMove(1);
  EXPECT_EQ(lit_buttons(), 3) << "nothing at all while the player must wait";
}

TEST_F(Objects, AnUnknownTypeShowsTheOutdatedBoxAndDoesNothingElse) {
  Start(R"([{"Objects": [{"ObjType": 12, "ObjN6": 1}]}])");
  h->interaction().AnimationMouseMove(1);
  EXPECT_EQ(h->screen().CurrentCursor(), 10);
  Click(1);
  const auto& shown = h->backend().headless_boxes().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Outdated version of Quorvex Player");
  EXPECT_EQ(shown[0].text,
            "This object type is unknown!  This program appears to have been\r"
            "created using a newer version of Quorvex.  Updates to the Quorvex Player\r"
            "are free for everyone.  Visit 'www.quorvex.example' for more information.");
  EXPECT_EQ(shown[0].icon, BoxIcon::kExclamation);
  EXPECT_TRUE(h->Lines().empty());
}

TEST_F(Objects, TheCursorOverEachKindOfObjectAndAStillPictureActsOnlyAsALink) {
  Start(R"([{"Objects": [
      {"ObjType": 0, "ObjN4": 1},
      {"ObjType": 1, "ObjN13": 1, "ObjN0": 3, "ObjN1": 3, "ObjN17": 1, "ObjN18": 6, "ObjN19": 1},
      {"ObjType": 1, "ObjN13": 1, "ObjN0": 0, "ObjN6": 1, "ObjN7": 1},
      {"ObjType": 2, "ObjN11": 1, "ObjN6": 1, "ObjN7": 2},
      {"ObjType": 3, "ObjN12": 1},
      {"ObjType": 4, "ObjN4": 1},
      {"ObjType": 1, "ObjN13": 1, "ObjN0": 77, "ObjN25": 1, "ObjS4": "20", "ObjS5": "30"},
      {"ObjType": 5}]}])");
  auto cursor_over = [&](int16_t n) {
    h->interaction().AnimationMouseMove(n);
    return h->screen().CurrentCursor();
  };
  EXPECT_EQ(cursor_over(1), 13);
  EXPECT_EQ(cursor_over(2), 3);
  EXPECT_EQ(cursor_over(3), 13) << "cursor 0 is the default cursor";
  EXPECT_EQ(cursor_over(5), 10);
  h->interaction().NoGIFMouseMove(7);
  EXPECT_EQ(h->screen().CurrentCursor(), 13) << "a cursor number the player lacks";
  EXPECT_EQ(cursor_over(8), 13) << "hidden objects leave the cursor as it is";
  cursor_over(6);
  h->interaction().SceneMouseMove();
  EXPECT_EQ(h->screen().CurrentCursor(), 13) << "between objects, with an empty hand";
  for (int16_t n = 4; n <= 6; ++n) {
    h->interaction().NoGIFMouseMove(n);
    h->interaction().NoGIFClick(n);
  }
  h->Settle();
  EXPECT_EQ(h->screen().CurrentCursor(), 13);
  EXPECT_TRUE(h->Lines().empty()) << "a still goodie, switch or reactor does nothing";
  h->interaction().NoGIFMouseMove(2);
  EXPECT_EQ(h->screen().CurrentCursor(), 3);
  h->interaction().NoGIFClick(2);
  EXPECT_EQ(h->state().Flags[6], 1);
  EXPECT_FALSE(h->screen().Animation[2]->Playing()) << "a still link has no animation";

  Give(1);
  PickUp(1);
  const screen::Inventory& inv = h->inventory();
  h->interaction().AnimationMouseMove(3);
  EXPECT_EQ(h->screen().PictureCursor(), inv.images.ItemHL[1]) << "the key over its link";
  EXPECT_EQ(h->screen().CurrentCursor(), 0);
  EXPECT_EQ(cursor_over(2), 3) << "a link that needs nothing";
  h->interaction().AnimationMouseMove(1);
  EXPECT_EQ(h->screen().PictureCursor(), inv.images.ItemPoint[1]) << "the key itself";
  h->interaction().AnimationMouseMove(4);
  EXPECT_EQ(h->screen().PictureCursor(), inv.images.ItemHL[1]);
  h->interaction().SceneMouseMove();
  EXPECT_EQ(h->screen().PictureCursor(), inv.images.ItemPoint[1]) << "between objects";
  h->interaction().WindowMouseMove();
  EXPECT_EQ(h->screen().CurrentCursor(), 13) << "off the play area";

  h->screen().ShowCursor(14);
  EXPECT_EQ(cursor_over(2), 14) << "nothing changes while the player must wait";
  h->interaction().SceneMouseMove();
  h->interaction().WindowMouseMove();
  EXPECT_EQ(h->screen().CurrentCursor(), 14);
}

TEST_F(Objects, BadNumbersInTheGameDataEndInTheHandlersBox) {
  Start(R"([{"Objects": [
      {"ObjType": 2, "ObjN11": 1, "ObjN5": 40},
      {"ObjType": 3, "ObjN12": 1, "ObjN0": 300, "ObjN4": 1},
      {"ObjType": 1, "ObjN13": 1, "ObjN11": 1, "ObjN12": 1, "ObjN17": 1, "ObjN18": -4,
       "ObjN19": 1}]}])");
  // The update pass has already reported the switch's flag number.
  const size_t before = h->Boxes().size();
  Click(1);
  Click(2);
  Click(3);
  const std::vector<std::string> boxes = h->Boxes();
  EXPECT_THAT(
      std::vector<std::string>(boxes.begin() + static_cast<long>(before), boxes.end()),
      ElementsAre(
          "Unexpected error in procedure: Animation_Click\r\nError #63: Bad record number",
          "Unexpected error in procedure: Animation_Click\r\nError #9: Subscript out of range",
          "Unexpected error in procedure: Animation_Click\r\nError #9: Subscript out of range"));
  EXPECT_EQ(h->inventory().ItemsHeld, 0);
  EXPECT_TRUE(h->engine().clicks.HotSpotUsed[3]);
  EXPECT_EQ(h->screen().CurrentCursor(), 13) << "the link's busy cursor does not stay";
}

}  // namespace
}  // namespace qv::testing
