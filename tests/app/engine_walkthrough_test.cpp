// Walkthrough scripts that drive the engine through the player, as game authors write
// them: a new game, the debug window's scene load and flag set, a conversation whose lines
// are hovered and clicked as the mouse would, the music switch, and checks of flags,
// scenes, log lines, objects, sounds and the conversation that shows.

#include <gtest/gtest.h>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class EngineWalkthrough : public WalkthroughTest {
 protected:
  // Scene 1: soundtrack Theme.wav at -500 and wind.wav looping; a lamp (slot 1) shown while
  // flag 3 is 0, a responder that sends the player to scene 2 when flag 3 becomes 1, and a
  // conversation (slot 3, record 1: lines 1 and 3) shown while flag 10 is 1. Scene 2:
  // nothing.
  EngineWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"({"Scenes": [
      {"SoundtrackFile": "Theme.wav", "SoundtrackVolume": -500, "EntrySoundB": "wind.wav",
       "Objects": [
        {"ObjType": 0, "ObjN4": 2, "ObjN5": 3, "ObjN6": 0, "ObjN7": 0},
        {"ObjType": 5, "ObjN0": 1, "ObjN1": 3, "ObjN2": 0, "ObjN3": 1,
         "ObjN10": 1, "ObjN11": 2},
        {"ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 10, "ObjN3": 0, "ObjN4": 1}]},
      {}],
      "Conversations": [{"ConvLineText": ["Hello.", "", "Goodbye."]}]})"),
                     dir_.path());
    for (const char* name : {"Theme.wav", "wind.wav"})
      dir_.Write(std::string("resource/mmedia/") + name, qv::testing::SilentWav());
  }
};

TEST_F(EngineWalkthrough, NewGameFlagsScenesAndLogLinesAndWhatAFailedExpectationFound) {
  EXPECT_EQ(Run(R"(
new-game
expect visible 1
expect log "Loading scene 1..."
expect log "Scene 1 loaded."
set-flag 3 1
expect log "<Flag 3> Set to  1"
expect log "Scene 2 loaded."
expect no-log "Scene 1 loaded."
expect scene 2
expect hidden 1
expect flag 3 > 0
set-flag 3 0
scene 9
expect scene 2
scene 1
expect visible 1
)"),
            "");
  auto state = StateJson(*player_);
  EXPECT_TRUE(state["flags"].empty());
  EXPECT_EQ(state["visible"], nlohmann::json::array({1}));
  EXPECT_EQ(state["log"].size(), player_->log_lines().size());

  std::string report = Run("new-game\nexpect flag 3 = 2\n");
  EXPECT_NE(report.find("walk.qvs:2: expect flag 3 = 2 failed\n  found: flag 3 = 0"),
            std::string::npos)
      << report;
  report = Run("new-game\nexpect log \"Scene 1 loaded.\"\nexpect log \"Scene 1 loaded.\"\n");
  EXPECT_EQ(status_, 1) << "a run of expect log checks order: the line came only once";
  EXPECT_EQ(Run("new-game\nset-flag 3 1\nexpect no-log \"Scene 2 loaded.\"\n", /*verbose=*/false),
            "")
      << "without the verbose log the progress lines are not written";
}

TEST_F(EngineWalkthrough, TheNextCommandComesWhenTheSceneIsReady) {
  // A person clicks only once the cover over the new scene is gone and the busy cursor
  // has made way for the default one; the scripted user does the same.
  std::vector<bool> covered;
  std::vector<int> cursors;
  AddCommand("look", [&](Player& p) {
    covered.push_back(p.screen().Block->Visible());
    cursors.push_back(p.screen().CurrentCursor());
  });
  EXPECT_EQ(Run("new-game\nlook\nset-flag 3 1\nlook\n"), "");
  EXPECT_EQ(covered, (std::vector<bool>{false, false}));
  EXPECT_EQ(cursors, (std::vector<int>{13, 13}));
}

// Lines clicked, and the box closed by one, the demo game's walkthrough does; what a click
// on a line does, busy or not, the conversation scenarios check.
TEST_F(EngineWalkthrough, LinesAreHoveredLikeTheMouseDoesAndOnlyWhenShown) {
  EXPECT_EQ(Run("new-game\nexpect conversation 0\nset-flag 10 1\nhover line 1\n"), "");
  EXPECT_EQ(player_->conversations().HoveredLine, 1) << "hovered as the mouse does";
  EXPECT_EQ(Run("new-game\nset-flag 10 1\nclick line 2\n"),
            "walk.qvs:3: click line 2 failed\n  found: line 2 is not on screen\n");
  EXPECT_EQ(Run("new-game\nset-flag 10 1\nexpect conversation 3\n"),
            "walk.qvs:3: expect conversation 3 failed\n  found: conversation 1\n");
}

TEST_F(EngineWalkthrough, F1SwitchesTheSoundtrackOffAndOnAndTheStateJsonKeepsItsName) {
  EXPECT_EQ(Run(R"(
new-game
expect soundtrack "theme.wav"
expect sound 17 "wind.wav"
key F1
expect silent 19
expect soundtrack "Theme.wav"
expect sound 17 "wind.wav"
key x
key F2
expect silent 19
key F1
expect sound 19 "Theme.wav"
)"),
            "");
  EXPECT_EQ(Plays(19), 2) << "played on entering, and again when switched on";
  const auto state = StateJson(*player_);
  EXPECT_EQ(state["soundtrack"], "Theme.wav");
  EXPECT_EQ(state["channels"]["17"]["file"], "wind.wav");
  EXPECT_EQ(state["channels"]["17"]["loop"], true);
  EXPECT_EQ(state["channels"]["19"]["file"], "Theme.wav");
  EXPECT_EQ(state["channels"].size(), 2u);
}

}  // namespace
}  // namespace qv::app
