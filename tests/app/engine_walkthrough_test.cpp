// Walkthrough scripts that drive the engine through the player, as game authors write
// them: a new game, the debug window's scene load and flag set, and checks of flags,
// scenes, log lines and objects.

#include <gtest/gtest.h>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class EngineWalkthrough : public WalkthroughTest {
 protected:
  // Scene 1: a lamp (slot 1) shown while flag 3 is 0, and a responder that sends the
  // player to scene 2 when flag 3 becomes 1. Scene 2: nothing.
  EngineWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"({"Scenes": [
      {"Objects": [
        {"ObjType": 0, "ObjN4": 2, "ObjN5": 3, "ObjN6": 0, "ObjN7": 0},
        {"ObjType": 5, "ObjN0": 1, "ObjN1": 3, "ObjN2": 0, "ObjN3": 1,
         "ObjN10": 1, "ObjN11": 2}]},
      {}]})"),
                     dir_.path());
  }
};

TEST_F(EngineWalkthrough, NewGameFlagsScenesAndLogLines) {
  EXPECT_EQ(Run(R"(
new-game
expect scene 1
expect visible 1
expect log "Loading scene 1..."
expect log "Scene 1 loaded."
set-flag 3 1
expect log "<Flag 3> Set to  1"
expect log "Scene 2 loaded."
expect no-log "Scene 1 loaded."
expect scene 2
expect hidden 1
expect flag 3 = 1
expect flag 3 > 0
set-flag 3 0
scene 1
expect scene 1
expect visible 1
scene 9
expect scene 1
)"),
            "");
  auto state = StateJson(*player_);
  EXPECT_EQ(state["scene"], 1);
  EXPECT_TRUE(state["flags"].empty());
  EXPECT_EQ(state["visible"], nlohmann::json::array({1}));
  EXPECT_EQ(state["log"].size(), player_->log_lines().size());
}

TEST_F(EngineWalkthrough, AFailedExpectationSaysWhatWasFound) {
  std::string report = Run("new-game\nexpect flag 3 = 2\n");
  EXPECT_EQ(status_, 1);
  EXPECT_NE(report.find("walk.qvs:2: expect flag 3 = 2 failed"), std::string::npos) << report;
  EXPECT_NE(report.find("flag 3 = 0"), std::string::npos) << report;
  report = Run("new-game\nexpect log \"Scene 1 loaded.\"\nexpect log \"Scene 1 loaded.\"\n");
  EXPECT_EQ(status_, 1) << "a run of expect log checks order: the line came only once";
}

TEST_F(EngineWalkthrough, TheNextCommandComesWhenTheSceneIsReady) {
  // A person clicks only once the cover over the new scene is gone and the busy cursor
  // has made way for the default one; the scripted user does the same.
  std::vector<bool> covered;
  std::vector<int> cursors;
  table_.Add({"look", {}, [&](ScriptContext& c, const ScriptCommand&) {
                covered.push_back(c.player().screen().Block->Visible());
                cursors.push_back(c.player().screen().CurrentCursor());
              }});
  EXPECT_EQ(Run("new-game\nlook\nset-flag 3 1\nlook\n"), "");
  EXPECT_EQ(covered, (std::vector<bool>{false, false}));
  EXPECT_EQ(cursors, (std::vector<int>{13, 13}));
}

TEST_F(EngineWalkthrough, WithoutVerboseLogTheProgressLinesAreNotWritten) {
  EXPECT_EQ(Run("new-game\nset-flag 3 1\nexpect no-log \"Scene 2 loaded.\"\nexpect scene 2\n",
                /*verbose=*/false),
            "");
}

}  // namespace
}  // namespace qv::app
