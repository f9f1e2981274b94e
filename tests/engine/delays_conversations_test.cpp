// Scenarios of the delay timers on a headless player: when a delay's flag change happens,
// delays across scene loads, the busy cursor, restarts, stopping, and the timer errors.
// Scenarios of the conversation box: which lines show, the box's size, clicks and hovers
// on lines as the mouse makes them, and bad records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine_harness.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// Scene 1: delay slot 1 fires when flag 1 = 1 and sets flag 2 to 5 after `secs`; a
// responder in slot 3 watches flag 1 too, so its line marks the end of the pass. Scene 2
// changes flag 9 on entry, so its load waits twice.
std::string DelayGame(int secs, int busy = 0) {
  return R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": )" +
         std::to_string(secs) + R"(, "ObjN5": 2, "ObjN6": 5, "ObjN7": 0, "ObjN8": )" +
         std::to_string(busy) + R"(},
      {"Slot": 3, "ObjType": 5, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1}]},
      {"EntryFlagOn": 1, "EntryFlag": 9, "EntryFlagValue": 1}]})";
}

TEST(Delays, ZeroSecondsChangesTheFlagAfterThePassAndARestartCountsFromTheNewStart) {
  EngineHarness h(DelayGame(0));
  h.EnterScene(1);
  h.engine().ChangeFlag(1, 1, 0);
  // The whole pass ran (slot 3 included) before the delay expired, inside the wait at the
  // end of the same flag change's update pass.
  auto at = [&](const std::string& line) {
    return std::find(h.Lines().begin(), h.Lines().end(), line) - h.Lines().begin();
  };
  EXPECT_LT(at("Delay 1 started. (0 secs)"), at("[Resp Index # 3] Flag 1= 1. Taking action..."));
  EXPECT_LT(at("[Resp Index # 3] Flag 1= 1. Taking action..."), at("Delay 1 expired."));
  EXPECT_LT(at("Delay 1 expired."), at("<Flag 2> Set to  5"));
  EXPECT_EQ(h.state().Flags[2], 5);

  // Started again while it runs, it counts from the new start and expires once.
  h.delays().SetDelayChange(1, 2, 6, 0);
  h.ClearLog();
  h.delays().StartDelay(1, 5);
  h.loop().PassTime(3000);
  h.delays().StartDelay(1, 4);
  EXPECT_THAT(h.Lines(), ElementsAre("Delay 1 started. (5 secs)", "Delay 1 started. (4 secs)"));
  h.loop().PassTime(3999);
  EXPECT_EQ(h.state().Flags[2], 5) << "not at the end of the first start's 5 s";
  h.loop().PassTime(1);
  EXPECT_EQ(h.state().Flags[2], 6);
  h.loop().PassTime(60000);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
}

TEST(Delays, ExpiringWhileASceneLoadsRunsAgainForItsWholeLengthAndAppliesInTheNextScene) {
  EngineHarness h(DelayGame(40));
  h.EnterScene(1);
  h.SetFlag(1, 1);
  // The last millisecond passes inside the next scene's load.
  h.loop().PassTime(39999 - 1);
  const int64_t started = h.loop().NowMs();
  h.LoadScene(2);
  EXPECT_THAT(h.Lines(), Contains("Delay 1 restarted. (40 secs) <Loading scene>"));
  EXPECT_THAT(h.Lines(), Not(Contains("Delay 1 expired.")));
  EXPECT_EQ(h.state().Flags[2], 0);

  // Restarted when the 40 s were up (just after the load began), for 40 s more.
  const int64_t restarted = started + 1;
  h.loop().PassTime(restarted + 40000 - 1 - h.loop().NowMs());
  EXPECT_EQ(h.state().Flags[2], 0);
  h.loop().PassTime(1);
  EXPECT_EQ(h.state().Flags[2], 5) << "a delay of scene 1 changes its flag in scene 2";
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
}

TEST(Delays, ANegativeDelayExpiringInASceneLoadWaitsForTheLoadCheaply) {
  // Restarted for fewer than 0 seconds while the scene is built, the countdown still lets
  // time pass (a tenth of a second at least): the load ends and the change follows.
  EngineHarness h(DelayGame(0));
  h.EnterScene(1);
  h.delays().SetDelayChange(1, 2, 5, 0);
  h.delays().StartDelay(1, -3);
  h.LoadScene(2);
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_THAT(h.Lines(), Contains("Delay 1 restarted. (-3 secs) <Loading scene>"));
  h.loop().PassTime(100);
  EXPECT_EQ(h.state().Flags[2], 5);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);

  // A load that waits long (an entry movie) is not flooded with restarts.
  h.ClearLog();
  h.delays().StartDelay(1, -3);
  h.engine().SceneChanging = true;
  h.loop().PassTime(1000);
  EXPECT_LE(h.Count(h.Lines(), "Delay 1 restarted. (-3 secs) <Loading scene>"), 10);
}

TEST(Delays, TwoBusyDelaysKeepTheBusyCursorUntilTheSecondExpires) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": 2,
       "ObjN5": 2, "ObjN6": 1, "ObjN8": 1},
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": 5,
       "ObjN5": 3, "ObjN6": 1, "ObjN8": 1}]}]})");
  h.EnterScene(1);
  ASSERT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
  h.SetFlag(1, 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kBusyCursor);
  h.loop().PassTime(2000);
  EXPECT_EQ(h.state().Flags[2], 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kBusyCursor) << "the second still counts";
  h.loop().PassTime(3000);
  EXPECT_EQ(h.state().Flags[3], 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
}

TEST(Delays, ADelayWhoseConditionHoldsOnEntryIsStartedTwiceAndExpiresOnce) {
  // Started by the update pass, then again by the engine run at its end.
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 0, "ObjN1": 1, "ObjN2": 0, "ObjN3": 0, "ObjN4": 2,
       "ObjN5": 2, "ObjN6": 1, "ObjN7": 1}]}]})");
  h.LoadScene(1);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 started. (2 secs)"), 2);
  EXPECT_THAT(h.Lines(), Contains("[Delay Index # 1] Flag 1= 0. Taking action..."));
  EXPECT_EQ(h.scene().ObjType[1], -1) << "disarmed for this visit";
  h.loop().PassTime(10000);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
  EXPECT_EQ(h.state().Flags[2], 1) << "added once";
}

TEST(Delays, FailuresShowTheTimerBoxesAndTheGameGoesOn) {
  EngineHarness h(DelayGame(1));
  h.EnterScene(1);
  h.delays().StartTimer(21, 1000);
  h.delays().StartTimer(0, 1000);
  // A flag number outside the flags, and an addition that overflows.
  h.delays().SetDelayChange(1, 300, 1, 0);
  h.delays().StartDelay(1, 1);
  h.state().Flags[7] = 32767;
  h.delays().SetDelayChange(2, 7, 1, 1);
  h.delays().StartDelay(2, 2);
  h.loop().PassTime(3000);
  EXPECT_THAT(h.Boxes(),
              ElementsAre("Error setting Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error setting Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error expiring Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error expiring Hi-Resolution Timer.\rErr # 6: Overflow"));
  EXPECT_EQ(h.state().Flags[7], 32767);
  EXPECT_EQ(h.delays().TimerRunning[1], 0);
  EXPECT_EQ(h.delays().TimerRunning[2], 0);
}

// Scene 1 has a Conversation object per case, each shown while its flag is 1:
//   slot 2: record 1 (flag 10)        slot 3: record 1 again (flag 11)
//   slot 4: record 2, blocking (12)   slot 5: record 9, past the end of the file, blocking (13)
//   slot 6: record 0 (14)             slot 7: record 3, two short lines (15)
//   slot 8: record -1, which the file refuses (16)
// Record 1 has lines 1 and 3: line 1 adds 1 to flag 20 and plays hello.wav, line 3
// plays a movie and sets flag 21 to 1. Record 2's line 1 changes flag 300, which does not exist;
// its line 2 plays a sound at absurd volume and pan.
constexpr const char* kGame = R"({
  "Scenes": [{"Objects": [
    {"Slot": 2, "ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 10, "ObjN3": 0, "ObjN4": 1},
    {"ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 11, "ObjN3": 0, "ObjN4": 1},
    {"ObjType": 8, "ObjN0": 2, "ObjN1": 2, "ObjN2": 12, "ObjN3": 0, "ObjN4": 1, "ObjN7": 1},
    {"ObjType": 8, "ObjN0": 9, "ObjN1": 2, "ObjN2": 13, "ObjN3": 0, "ObjN4": 1, "ObjN7": 1},
    {"ObjType": 8, "ObjN0": 0, "ObjN1": 2, "ObjN2": 14, "ObjN3": 0, "ObjN4": 1},
    {"ObjType": 8, "ObjN0": 3, "ObjN1": 2, "ObjN2": 15, "ObjN3": 0, "ObjN4": 1},
    {"ObjType": 8, "ObjN0": -1, "ObjN1": 2, "ObjN2": 16, "ObjN3": 0, "ObjN4": 1}]}],
  "Conversations": [
    {"ConvLineText": ["Who are you?", "", "Tell me about the keeper's missing logbook"],
     "ConvLineFlagOn": [1, 0, 1], "ConvLineFlag": [20, 0, 21], "ConvLineValue": [1, 0, 1],
     "ConvLineOp": [1],
     "ConvLineMediaOn": [1, 0, 1], "ConvLineMedia": ["hello.wav", "", "Keeper.AVI"],
     "ConvLineVolume": [-300, 0, 7], "ConvLinePan": [200]},
    {"ConvLineText": ["Bye", "Shout"], "ConvLineFlagOn": [1], "ConvLineFlag": [300],
     "ConvLineValue": [1], "ConvLineMediaOn": [0, 1], "ConvLineMedia": ["", "loud.wav"],
     "ConvLineVolume": [0, 32767], "ConvLinePan": [0, -32768]},
    {"ConvLineText": ["Hm", "Ok"]}]
})";

class ConversationTest : public ::testing::Test {
 protected:
  ConversationTest() {
    h.dir().Write("resource/mmedia/click.wav", SilentWav());
    h.dir().Write("resource/mmedia/hover.wav", SilentWav());
    h.EnterScene(1);
  }

  ui::Label& Line(int k) { return *h.screen().ConvText[k]; }
  ui::PictureBox& Box() { return *h.screen().ConvBox; }
  std::vector<int> ShownLines() {
    std::vector<int> shown;
    for (int k = 1; k <= 5; ++k) {
      if (Line(k).Visible()) shown.push_back(k);
    }
    return shown;
  }
  long Played(const std::string& call) { return h.Count(h.audio().calls(), call); }
  // The mouse, as the user moves and clicks it.
  void Mouse(platform::InputEvent::Kind kind, int x, int y) {
    const bool press = kind != platform::InputEvent::Kind::kMouseMove;
    h.backend().InjectInput(
        {.kind = kind,
         .x = x,
         .y = y,
         .button = press ? platform::MouseButton::kLeft : platform::MouseButton::kNone,
         .text = {}});
    h.Settle();
  }
  void Click(const ui::Control& control) {
    const platform::Rect r = control.ScreenRect();
    Mouse(platform::InputEvent::Kind::kMouseDown, r.x + r.w / 2, r.y + r.h / 2);
    Mouse(platform::InputEvent::Kind::kMouseUp, r.x + r.w / 2, r.y + r.h / 2);
  }
  void Hover(const ui::Control& control, int dx = 0) {
    const platform::Rect r = control.ScreenRect();
    Mouse(platform::InputEvent::Kind::kMouseMove, r.x + r.w / 2 + dx, r.y + r.h / 2);
  }

  EngineHarness h{kGame};
};

constexpr platform::Rgb kSilver = engine::kLineColor;
constexpr platform::Rgb kGrey = engine::kUsedLineColor;
constexpr platform::Rgb kWhite = engine::kHoveredLineColor;

TEST_F(ConversationTest, TheRecordsLinesShowInABoxRightAlignedThatNeverShrinksWhileUp) {
  h.SetFlag(10, 1);
  EXPECT_EQ(h.state().ShownConversation, 2);
  EXPECT_THAT(ShownLines(), ElementsAre(1, 3));
  EXPECT_EQ(Line(1).Caption(), "Who are you?");
  EXPECT_EQ(Line(3).Caption(), "Tell me about the keeper's missing logbook");
  EXPECT_EQ(Line(1).ForeColor(), kSilver);
  EXPECT_EQ(Box().Width(), Line(3).Width() + 156) << "the widest line, measured in its font";
  EXPECT_EQ(Box().Left() + Box().Width(), 700);
  EXPECT_THAT(h.Lines(), Contains("[Conv Index # 2] Show Conversation Box"));

  // The box widens but never shrinks while it stays up.
  const int wide = Box().Width();
  h.conversations().ShowConversation(3, 7);  // slot 7's short record, in the same box
  EXPECT_THAT(ShownLines(), ElementsAre(1, 2));
  EXPECT_EQ(Box().Width(), wide);
  h.SetFlag(10, 0);  // flag 15 is 0: the engine hides slot 7's box
  EXPECT_EQ(h.conversations().ShownRecord(), 0);
  h.SetFlag(15, 1);  // shown afresh: fitted to its own lines
  EXPECT_EQ(Box().Width(), std::max(Line(1).Width(), Line(2).Width()) + 156);
  EXPECT_LT(Box().Width(), wide);
}

TEST_F(ConversationTest, AClickedLinePlaysItsMediaChangesItsFlagEveryTimeAndStaysGreyInItsSlot) {
  h.settings().click = {"click.wav", -100, 50};
  h.state().VerboseLog = false;
  h.SetFlag(10, 1);
  Click(Line(1));
  Click(Line(1));
  EXPECT_EQ(h.state().Flags[20], 2);
  EXPECT_EQ(Line(1).ForeColor(), kGrey);
  EXPECT_THAT(h.Lines(), ElementsAre("Play Wav: 'hello.wav'", "Play Wav: 'hello.wav'"))
      << "logged whatever VerboseLog says";
  EXPECT_EQ(Played("Play(15, hello.wav, False, 200, -300)"), 2);
  EXPECT_EQ(Played("Play(18, click.wav, False, 50, -100)"), 2);
  EXPECT_EQ(h.conversations().ShownRecord(), 1) << "a click does not close the box";
  h.conversations().ShowConversation(1, 2);
  EXPECT_EQ(Line(1).ForeColor(), kGrey) << "the same slot again keeps it grey";
  h.conversations().ShowConversation(1, 3);
  EXPECT_EQ(Line(1).ForeColor(), kSilver) << "another slot with the same record starts afresh";

  // "Keeper.AVI": a movie, whatever the case of its name. While it plays, another
  // conversation replaces this one; the change applied is still the clicked line's.
  h.calls().on_call = [&](const std::string& call) {
    if (call.starts_with("PlayMovie")) h.conversations().ShowConversation(3, 7);
  };
  Click(Line(3));
  EXPECT_TRUE(h.Called("PlayMovie(Keeper.AVI, 7, True, False)"));
  EXPECT_THAT(h.Lines(), Not(Contains("Play Wav: 'Keeper.AVI'")));
  EXPECT_EQ(h.state().Flags[21], 1);
  EXPECT_EQ(h.state().Flags[20], 2);
}

TEST_F(ConversationTest, HoveringHighlightsOneLineAndPlaysItsSoundOncePerLineButNotWhileBusy) {
  h.settings().click = {"click.wav", 0, 0};
  h.settings().hover = {"hover.wav", -50, 10};
  h.SetFlag(10, 1);
  h.ClearLog();
  h.screen().ShowCursor(screen::kBusyCursor);  // lines ignore the mouse
  Hover(Line(3));
  Click(Line(1));
  EXPECT_EQ(h.state().Flags[20], 0);
  EXPECT_TRUE(h.audio().calls().empty()) << "not even the click sound";
  EXPECT_TRUE(h.Lines().empty());
  EXPECT_EQ(Line(3).ForeColor(), kSilver);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kBusyCursor);

  h.screen().ShowCursor(screen::kDefaultCursor);
  Click(Line(1));  // line 1 is now a clicked line
  h.ClearLog();
  const std::string hover = "Play(18, hover.wav, False, 10, -50)";
  h.screen().ShowCursor(screen::kSwitchCursor);
  Hover(Line(3));
  Hover(Line(3), 1);
  EXPECT_EQ(Played(hover), 1);
  EXPECT_EQ(Line(3).ForeColor(), kWhite);
  EXPECT_EQ(h.conversations().HoveredLine, 3);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
  Hover(Line(1));
  EXPECT_EQ(Played(hover), 2);
  EXPECT_EQ(Line(1).ForeColor(), kWhite);
  EXPECT_EQ(Line(3).ForeColor(), kSilver);
  // Off the lines, inside the box: the highlight goes, the hovered line is remembered.
  const platform::Rect box = Box().ScreenRect();
  Mouse(platform::InputEvent::Kind::kMouseMove, box.x + 3, box.y + 3);
  EXPECT_EQ(Line(1).ForeColor(), kGrey);
  EXPECT_EQ(h.conversations().HoveredLine, 1);
  Hover(Line(1));
  EXPECT_EQ(Played(hover), 2) << "back onto the same line: no sound";
  // The scene's objects ask for the same as the pointer leaves for them.
  h.conversations().UnhighlightLines();
  EXPECT_EQ(Line(1).ForeColor(), kGrey);
}

TEST_F(ConversationTest, RecordZeroOrABadRecordLeavesTheConversationOnScreen) {
  h.SetFlag(10, 1);
  Click(Line(1));
  h.SetFlag(14, 1);
  EXPECT_THAT(h.Lines(), Contains("[Conv Index # 6] Show Conversation Box"));
  EXPECT_THAT(h.Lines(), Contains("No Cue Card assigned!"));
  // Record -1: each engine run of the flag change (its own and the update pass's)
  // reports it, and the box stays as it was.
  h.SetFlag(16, 1);
  const std::string refused = "Error in sub 'CheckHiddenObjects'.\rError # 63 : Bad record number";
  EXPECT_THAT(h.Boxes(), ElementsAre(refused, refused));
  EXPECT_EQ(h.state().ShownConversation, 2);
  EXPECT_THAT(ShownLines(), ElementsAre(1, 3));
  EXPECT_EQ(Line(1).ForeColor(), kGrey);
}

TEST_F(ConversationTest, ABlockingRecordPastTheEndOfTheFileKeepsTheConversationThatShows) {
  constexpr const char* kPastTheEnd =
      "Error in sub 'CheckHiddenObjects'.\rError # 62 : Input past end of file";
  h.SetFlag(10, 1);
  h.SetFlag(13, 1);
  // Both runs of the rules that follow the change try it, and say so.
  EXPECT_THAT(h.Boxes(), ElementsAre(kPastTheEnd, kPastTheEnd));
  EXPECT_EQ(h.conversations().ShownRecord(), 1);
  EXPECT_EQ(h.state().ShownConversation, 2);
  EXPECT_FALSE(h.conversations().BlockingConversationShowing());
  EXPECT_EQ(ShownLines(), (std::vector<int>{1, 3}));
  Click(Line(1));
  EXPECT_EQ(h.state().Flags[20], 1) << "its lines still take clicks";
}

TEST_F(ConversationTest, ABlockingConversationAndABadLineAreHandledWithoutHarm) {
  EXPECT_FALSE(h.conversations().BlockingConversationShowing());
  h.screen().ShowCursor(screen::kSwitchCursor);
  h.SetFlag(12, 1);
  EXPECT_TRUE(h.conversations().BlockingConversationShowing());
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor) << "showing it restores it";
  Click(Line(1));  // flag 300
  EXPECT_THAT(h.Boxes(), ElementsAre("Unexpected error in procedure: ConvText_Click\r\n"
                                     "Error #9: Subscript out of range"));
  EXPECT_EQ(Line(1).ForeColor(), kGrey);
  Click(Line(2));  // volume and pan far out of range
  EXPECT_THAT(h.Lines(), Contains("Play Wav: 'loud.wav'"));
  EXPECT_EQ(h.conversations().ShownRecord(), 2);
  h.SetFlag(12, 0);
  EXPECT_FALSE(h.conversations().BlockingConversationShowing());
}

}  // namespace
}  // namespace qv::testing
