// Scenarios of the engine on a headless player: flag changes and their log lines, scene
// loading with jumps, the update pass, and the hidden-object rules, re-entrancy included.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine_harness.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(ChangeFlag, LogLinesOperationsAndOverflow) {
  // A responder adds 1 to flag 3 when flag 4 becomes 1.
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 4, "ObjN2": 0, "ObjN3": 1,
       "ObjN12": 1, "ObjN13": 3, "ObjN14": 1, "ObjN15": 1}]}]})");
  h.LoadScene(1);
  h.ClearLog();
  h.engine().ChangeFlag(5, 3, 0);
  h.engine().ChangeFlag(5, -4, 1);
  h.SetFlag(6, -2);
  EXPECT_EQ(h.state().Flags[5], -1);
  EXPECT_THAT(h.Lines(), Contains("<Flag 5> Set to  3")) << "two blanks before a positive value";
  EXPECT_THAT(h.Lines(), Contains("<Flag 5> Add-4 (Value =-1)"));
  EXPECT_THAT(h.Lines(), Contains("<Flag 6> Set to -2"));

  // Overflow and bad flag numbers keep the old value.
  h.state().Flags[3] = 32767;
  EXPECT_EQ(VbErrorNumber([&] { h.engine().ChangeFlag(3, 1, 1); }), 6);
  EXPECT_EQ(h.state().Flags[3], 32767);
  EXPECT_EQ(VbErrorNumber([&] { h.engine().ChangeFlag(300, 1, 0); }), 9);
  // Inside the rules the engine's own box reports it and the game goes on.
  h.SetFlag(4, 1);
  EXPECT_THAT(h.Boxes(), ElementsAre("Error in sub 'CheckHiddenObjects'.\rError # 6 : Overflow"));
  EXPECT_EQ(h.state().Flags[3], 32767);
}

TEST(ChangeFlag, FlagZeroDoesNothingAndAnUnknownOperationOnlyRunsTheEngine) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 7, "ObjN2": 0, "ObjN3": 0,
       "ObjN12": 1, "ObjN13": 8, "ObjN14": 1, "ObjN15": 0}]}]})");
  h.state().Flags[7] = 1;  // the responder waits for flag 7 = 0
  h.LoadScene(1);
  h.state().LastFlagChanged = 3;
  h.ClearLog();
  h.engine().ChangeFlag(0, 5, 0);
  EXPECT_TRUE(h.Lines().empty());
  EXPECT_TRUE(h.calls().calls().empty());
  EXPECT_EQ(h.state().LastFlagChanged, 3);

  h.state().Flags[7] = 0;  // behind the engine's back: only a pass notices
  h.engine().ChangeFlag(7, 9, 2);
  EXPECT_EQ(h.state().Flags[7], 0) << "operation 2 changes nothing";
  EXPECT_EQ(h.state().LastFlagChanged, 8) << "7, then the responder's own change of 8";
  EXPECT_THAT(h.Lines(), Not(Contains(HasSubstr("<Flag 7>"))));
  EXPECT_THAT(h.Lines(), Contains("[Resp Index # 1] Flag 7= 0. Taking action..."));
  EXPECT_EQ(h.state().Flags[8], 1);
}

TEST(LoadScene, AJumpFromThreeIntoFiveLandsInSevenWithNothingOfFiveAndAJumpToItselfIsIgnored) {
  EngineHarness h(R"({"Scenes": [{}, {"JumpEnabled": 1, "JumpScene": 2},
      {"ExitSound": "leave3.wav", "ExitMovie": "out3.avi"},
      {},
      {"JumpEnabled": 1, "JumpFlag": 10, "JumpOp": 0, "JumpValue": 1, "JumpScene": 7,
       "ScenePicture": "five.bmp", "EntrySoundA": "enter5.wav", "ExitSound": "leave5.wav",
       "SoundtrackFile": "five.mid", "EntryFlagOn": 1, "EntryFlag": 11, "EntryFlagValue": 1},
      {},
      {"EntrySoundA": "enter7.wav"}]})");
  h.state().Flags[10] = 1;
  h.LoadScene(3);
  h.ClearLog();
  h.LoadScene(5);
  EXPECT_EQ(h.scene().CurrentScene, 7);
  EXPECT_EQ(h.Count(h.audio().calls(), "Play(16, leave3.wav, False, 0, 0)"), 1);
  EXPECT_EQ(h.Count(h.calls().calls(), "PlayMovie(out3.avi, 0, True, True)"), 1);
  EXPECT_TRUE(h.Played("Play(16, enter7.wav, False, 0, 0)"));
  for (const auto* calls : {&h.calls().calls(), &h.audio().calls()}) {
    for (const auto& call : *calls)
      EXPECT_EQ(call.find("5."), std::string::npos) << "nothing of scene 5: " << call;
  }
  EXPECT_EQ(h.state().Flags[11], 0) << "scene 5's entry flag change never ran";
  EXPECT_THAT(h.Lines(),
              ElementsAre("Loading scene 5...", "Loading scene 7...", "Scene 7 loaded."));
  EXPECT_TRUE(h.Boxes().empty()) << "scene 5's missing picture was never loaded";

  h.LoadScene(2);  // a jump to itself
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_THAT(
      h.Lines(),
      Contains("CheckFlag ERROR - Scene #2 - Cannot set 'Jump To Scene' same as Current Scene"));
  EXPECT_THAT(h.Lines(), Contains("Scene 2 loaded."));
}

TEST(SoundChannels, ObjectsPlayOnTheirOwnChannelsAndLeavingStopsTheSceneChannelsOnly) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"Slot": 2, "ObjType": 4, "ObjN0": 3, "ObjN4": 1, "ObjS2": "hum.wav", "ObjN15": -1},
      {"Slot": 4, "ObjType": 4, "ObjN0": 4, "ObjN4": 1, "ObjS2": "buzz.wav", "ObjN15": 9},
      {"Slot": 16, "ObjType": 0, "ObjN4": 1, "ObjS1": "wind.wav", "ObjN0": 3, "ObjN2": -300,
       "ObjN3": 500}]}, {}]})");
  h.LoadScene(1);
  EXPECT_TRUE(h.Played("Play(15, hum.wav, True, 0, 0)"));
  EXPECT_TRUE(h.Played("Play(9, buzz.wav, True, 0, 0)"));
  EXPECT_TRUE(h.Played("Play(3, wind.wav, False, 500, -300)")) << "slot 16 uses channel 3";
  h.dir().Write("resource/mmedia/keep.wav", SilentWav());
  for (int16_t ch : {int16_t{14}, int16_t{18}, int16_t{19}, int16_t{20}})
    h.sound().PlayWAVQVX("keep.wav", true, ch, 0, 0);
  h.LoadScene(2);
  EXPECT_FALSE(h.audio().channel(9).playing);
  EXPECT_FALSE(h.audio().channel(15).playing);
  for (int16_t ch : {int16_t{14}, int16_t{18}, int16_t{19}, int16_t{20}})
    EXPECT_TRUE(h.audio().channel(ch).playing) << ch;
}

TEST(Responders, ChangeOnlyFiresOnANewValueOnlyAndOncePerVisitKindZeroNever) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 5, "ObjN2": 3, "ObjN3": 0, "ObjN4": 1,
       "ObjN12": 1, "ObjN13": 6, "ObjN14": 1, "ObjN15": 1},
      {"ObjType": 5, "ObjN0": 0, "ObjN1": 5, "ObjN2": 3, "ObjN3": 0,
       "ObjN12": 1, "ObjN13": 22, "ObjN14": 1}]}]})");
  h.state().Flags[5] = 2;
  h.LoadScene(1);
  EXPECT_EQ(h.state().Flags[6], 0) << "nothing changed at entry";
  h.SetFlag(5, 2);
  EXPECT_EQ(h.state().Flags[6], 0) << "set to the value it had";
  h.SetFlag(5, 3);
  EXPECT_EQ(h.state().Flags[6], 1);
  h.SetFlag(5, 4);
  EXPECT_EQ(h.state().Flags[6], 1) << "fired once in this visit";
  h.LoadScene(1);
  h.SetFlag(5, 7);
  EXPECT_EQ(h.state().Flags[6], 2) << "armed again by the scene load";
  EXPECT_EQ(h.state().Flags[22], 0) << "a responder of kind 0 never fires";
}

TEST(MultiTriggers, TheSecondConditionFiresWhenTheFirstHasNotChanged) {
  EngineHarness h(R"({"Scenes": [
      {"Objects": [{"ObjType": 7, "ObjN0": 1, "ObjN1": 8, "ObjN2": 0, "ObjN3": 1,
                    "ObjN9": 9, "ObjN10": 0, "ObjN11": 1, "ObjN16": 4}]},
      {}, {}, {}]})");
  h.state().Flags[8] = 1;
  h.LoadScene(1);
  h.ClearLog();
  h.SetFlag(9, 1);
  EXPECT_THAT(h.Lines(), Contains("[Multi-Trigger Index # 1-2] Flag 9= 1. Taking action..."));
  EXPECT_THAT(h.Lines(), Contains("[Multi-Trigger Index # 1-2] Switch to Scene 4"));
  EXPECT_EQ(h.scene().CurrentScene, 4);
}

TEST(MultiTriggers, EntryModeSwitchesSceneDuringSetUpOnce) {
  EngineHarness h(R"({"Scenes": [
      {"EntrySoundA": "one.wav",
       "Objects": [{"ObjType": 7, "ObjN0": 0, "ObjN1": 8, "ObjN2": 0, "ObjN3": 1, "ObjN8": 2,
                    "ObjN4": 1, "ObjN5": 30, "ObjN6": 5, "ObjN7": 0}]},
      {"EntrySoundA": "two.wav"}]})");
  h.state().Flags[8] = 1;
  h.LoadScene(1);
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_EQ(h.state().Flags[30], 5);
  EXPECT_EQ(h.Count(h.audio().calls(), "Play(16, two.wav, False, 0, 0)"), 1)
      << "the new scene's entry sound plays once";
  EXPECT_FALSE(h.Played("Play(16, one.wav, False, 0, 0)"));
  EXPECT_EQ(h.Count(h.Lines(), "Scene 2 loaded."), 1);
  EXPECT_FALSE(h.engine().SceneChanging);
}

TEST(Conversations, TwoInOnePassShowTheHigherSlot) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"Slot": 3, "ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 30, "ObjN3": 0, "ObjN4": 1},
      {"Slot": 5, "ObjType": 8, "ObjN0": 2, "ObjN1": 2, "ObjN2": 30, "ObjN3": 0, "ObjN4": 1}]}],
      "Conversations": [{}, {}]})");
  h.LoadScene(1);
  h.state().Flags[30] = 1;
  h.engine().CheckHiddenObjects();  // one pass
  EXPECT_EQ(h.conversations().ShownRecord(), 2);
  EXPECT_EQ(h.state().ShownConversation, 5);
  EXPECT_THAT(h.Lines(), Not(Contains("[Conv Index # 3] Show Conversation Box")));
  h.ClearLog();
  h.SetFlag(30, 0);
  EXPECT_THAT(h.Lines(), Contains("[Conv Index # 5] Hide Conversation Box"));
  EXPECT_FALSE(h.screen().ConvBox->Visible());
  EXPECT_EQ(h.state().ShownConversation, 0);
}

TEST(UpdatePass, AnObjectThatBecomesInactiveIsHiddenOnlyAtTheEndOfThePass) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 0, "ObjN4": 2, "ObjN5": 40, "ObjN6": 0, "ObjN7": 0},
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 40, "ObjN2": 0, "ObjN3": 1, "ObjN7": 1,
       "ObjS2": "creak.wav"}]}]})");
  h.LoadScene(1);
  ASSERT_TRUE(h.screen().Animation[1]->Visible());
  bool visible_during_pass = false;
  h.audio().on_call = [&](const std::string& call) {
    if (call.rfind("Play(2, creak.wav", 0) == 0)
      visible_during_pass = h.screen().Animation[1]->Visible();
  };
  h.SetFlag(40, 1);
  EXPECT_TRUE(visible_during_pass);
  EXPECT_FALSE(h.screen().Animation[1]->Visible());
}

TEST(FlagConjunctions, OneShotWithNoTermsFiresWithItsTexts) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 9, "ObjN0": 0, "ObjS0": "12", "ObjS1": "4.5", "ObjS2": "0"},
      {"ObjType": 9, "ObjN0": 1, "ObjN1": 1, "ObjN2": 60, "ObjN3": 3, "ObjN4": 0,
       "ObjS0": "61", "ObjS1": "1", "ObjS2": "1"}]}]})");
  h.LoadScene(1);
  EXPECT_EQ(h.state().Flags[12], 4) << "4.5 rounds to the even 4";
  EXPECT_EQ(h.scene().ObjType[1], -99);
  EXPECT_THAT(h.Lines(), Contains("[Flag Conj. Index # 1] Conditions true. Taking action..."));
  h.SetFlag(60, 1);
  EXPECT_EQ(h.state().Flags[61], 1);
  h.SetFlag(60, 1);
  EXPECT_EQ(h.state().Flags[61], 1) << "the same value again is no change";
  h.SetFlag(60, 2);
  EXPECT_EQ(h.state().Flags[61], 2) << "re-armed by the update pass";
}

// Scene 1 with `ambients` Ambients that each add 1 to their own flag (51, 52, ...) on
// every update pass, and a Reactor in slot 10 whose click sets flag 60.
std::string LoopingAmbients(int ambients) {
  std::string objects;
  for (int k = 1; k <= ambients; ++k) {
    objects += R"({"ObjType": 0, "ObjN4": 1, "ObjN8": 1, "ObjN9": )" + std::to_string(50 + k) +
               R"(, "ObjN10": 1, "ObjN11": 1},)";
  }
  objects += R"({"Slot": 10, "ObjType": 4, "ObjN4": 1, "ObjN8": 1, "ObjN9": 60, "ObjN10": 1})";
  return R"({"Scenes": [{"Objects": [)" + objects + "]}, {}]}";
}

TEST(Recursion, LoopingAmbientsEndInOneOutOfStackSpaceBoxPerUserAction) {
  for (int ambients : {1, 2, 3, 5}) {
    SCOPED_TRACE(std::to_string(ambients) + " looping Ambients");
    EngineHarness h(LoopingAmbients(ambients));
    h.state().VerboseLog = false;
    h.LoadScene(1);
    EXPECT_THAT(h.Boxes(), ElementsAre("Unexpected error in procedure: LoadScene\r\n"
                                       "Error #28: Out of stack space"));
    EXPECT_GT(h.state().Flags[51], 0) << "the flags keep what the loop did";
    EXPECT_LE(h.state().Flags[51], engine::Engine::kMaxNesting);
    // The player goes on: the scene is handed over, and the next click is one more box.
    h.loop().PassTime(100);
    EXPECT_FALSE(h.engine().SceneChanging);
    EXPECT_FALSE(h.screen().Block->Visible());
    EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
    h.interaction().AnimationClick(10);
    h.Settle();
    EXPECT_EQ(h.Boxes().size(), 2u);
    EXPECT_EQ(h.Boxes().back(),
              "Unexpected error in procedure: Animation_Click\r\nError #28: Out of stack space");
    EXPECT_EQ(h.state().Flags[60], 1);
    for (int16_t i = 1; i <= 20; ++i)
      EXPECT_GE(h.scene().ObjType[i], 0) << "no slot stays suspended";
    h.LoadScene(2);
    EXPECT_EQ(h.scene().CurrentScene, 2);
  }
}

TEST(Recursion, TwoScenesSwitchingToEachOtherOnEntryEndInOneBox) {
  // Each scene's responder (flag 0 is always 0) switches to the other scene.
  EngineHarness h(R"({"Scenes": [
      {"Objects": [{"ObjType": 5, "ObjN0": 1, "ObjN10": 1, "ObjN11": 2}]},
      {"Objects": [{"ObjType": 5, "ObjN0": 1, "ObjN10": 1, "ObjN11": 1}]}]})");
  h.state().VerboseLog = false;
  h.LoadScene(1);
  EXPECT_THAT(h.Boxes(), ElementsAre("Unexpected error in procedure: LoadScene\r\n"
                                     "Error #28: Out of stack space"));
  h.loop().PassTime(100);
  EXPECT_FALSE(h.engine().SceneChanging);
  EXPECT_FALSE(h.screen().Block->Visible());
}

TEST(LoadScene, ASwitchToASceneTheFileRefusesFinishesTheSceneBeingBuilt) {
  EngineHarness h(R"({"Scenes": [{"EntrySoundA": "hello.wav", "Objects": [
      {"ObjType": 5, "ObjN0": 1, "ObjN10": 1, "ObjN11": -1},
      {"ObjType": 0, "ObjN4": 1, "ObjS1": "wind.wav"},
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 9, "ObjN4": 1},
      {"ObjType": 0, "ObjN4": 2, "ObjN5": 9, "ObjN6": 0, "ObjN7": 1}]}]})");
  h.LoadScene(1);
  EXPECT_THAT(h.Boxes(), ElementsAre("Unexpected error in procedure: LoadScene\r\n"
                                     "Error #63: Bad record number"));
  EXPECT_EQ(h.scene().CurrentScene, 1);
  EXPECT_TRUE(h.screen().Animation[2]->Visible());
  EXPECT_TRUE(h.Played("Play(2, wind.wav, True, 0, 0)"));
  EXPECT_TRUE(h.Played("Play(16, hello.wav, False, 0, 0)")) << "its entry sounds play";
  EXPECT_THAT(h.Lines(), Contains("Scene 1 loaded."));
  EXPECT_EQ(h.scene().ObjType[3], engine::kResponder) << "the pass ended as usual";
  EXPECT_FALSE(h.screen().Animation[4]->Visible());
  h.loop().PassTime(100);
  EXPECT_FALSE(h.engine().SceneChanging);
  EXPECT_FALSE(h.screen().Block->Visible());
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
}

TEST(Responders, NothingOfTheSceneRunsAfterTheEndOfTheGame) {
  // Flag 5 = 1 starts the delay of slot 2 (3 s, then flag 7 = 1, whose responder would
  // switch to scene 2) and ends the game in slot 3; the responder and the conversation of
  // slots 5 and 6 would follow in the same pass. Slot 1 loops a sound while shown.
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 0, "ObjN4": 1, "ObjS1": "wind.wav"},
      {"ObjType": 6, "ObjN1": 5, "ObjN2": 0, "ObjN3": 1, "ObjN4": 3, "ObjN5": 7, "ObjN6": 1},
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 5, "ObjN2": 0, "ObjN3": 1, "ObjN21": 1},
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 7, "ObjN2": 0, "ObjN3": 1, "ObjN10": 1, "ObjN11": 2},
      {"ObjType": 5, "ObjN0": 1, "ObjN1": 5, "ObjN2": 0, "ObjN3": 1, "ObjN12": 1, "ObjN13": 8},
      {"ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 5, "ObjN3": 0, "ObjN4": 1}]},
      {}]})");
  h.LoadScene(1);
  h.ClearLog();
  h.SetFlag(5, 1);
  EXPECT_TRUE(h.shell().MainMenu().Visible());
  EXPECT_FALSE(h.screen().Main().Visible());
  EXPECT_FALSE(h.log().Created()) << "the notify window is unloaded";
  EXPECT_EQ(h.state().Flags[5], 0) << "the game state is reset";
  EXPECT_THAT(h.Lines(), Not(Contains("[Resp Index # 5] Flag 5= 1. Taking action...")));
  EXPECT_THAT(h.Lines(), Not(Contains(HasSubstr("[Conv Index # 6]"))));
  EXPECT_FALSE(h.Played("Play(1, wind.wav, True, 0, 0)")) << "no sound starts again";
  EXPECT_FALSE(h.audio().channel(1).playing);
  EXPECT_EQ(h.delays().TimerRunning[2], 0);
  EXPECT_FALSE(h.delays().countdown(2).Enabled());
  h.loop().PassTime(10000);
  EXPECT_EQ(h.state().Flags[7], 0) << "the delay never expires";
  EXPECT_EQ(h.scene().CurrentScene, 0);
  EXPECT_THAT(h.Lines(), Not(Contains("Loading scene 2...")));
  EXPECT_EQ(h.Count(h.Lines(), "Delay 2 started. (3 secs)"), 1) << "not started again";
}

}  // namespace
}  // namespace qv::testing
