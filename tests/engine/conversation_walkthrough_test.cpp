// Walkthrough scripts with a conversation, run on a real player as game authors write
// them: lines clicked and hovered as the mouse would, and the checks of the box that shows.

#include <gtest/gtest.h>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class ConversationWalkthrough : public WalkthroughTest {
 protected:
  // Scene 1: a conversation (slot 2, record 1) shown while flag 10 is 1. Record 1's line 1
  // adds 1 to flag 20 and plays hello.wav; line 3 sets flag 10 back to 0, which closes the
  // box.
  ConversationWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"({
      "Scenes": [{"Objects": [
        {"Slot": 2, "ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 10, "ObjN3": 0, "ObjN4": 1}]}],
      "Conversations": [
        {"ConvLineText": ["Hello.", "", "Goodbye."],
         "ConvLineFlagOn": [1, 0, 1], "ConvLineFlag": [20, 0, 10], "ConvLineValue": [1, 0, 0],
         "ConvLineOp": [1], "ConvLineMediaOn": [1], "ConvLineMedia": ["hello.wav"]}]})"),
                     dir_.path());
    dir_.Write("resource/mmedia/hello.wav", qv::testing::SilentWav());
  }
};

TEST_F(ConversationWalkthrough, LinesAreHoveredAndClickedLikeTheMouseDoes) {
  // What a click on a line does, busy or not, the conversation scenarios check.
  EXPECT_EQ(Run(R"(
new-game
expect conversation 0
set-flag 10 1
expect conversation 1
hover line 1
click line 1
expect flag 20 = 1
expect log "Play Wav: 'hello.wav'"
)"),
            "");
  EXPECT_EQ(StateJson(*player_)["conversation"], 1);
  EXPECT_EQ(player_->conversations().HoveredLine, 1) << "hovered as the mouse does";

  EXPECT_EQ(Run("new-game\nset-flag 10 1\nclick line 3\nexpect conversation 0\n"), "");
}

TEST_F(ConversationWalkthrough, ALineNotOnScreenCannotBeClickedAndAWrongBoxIsReported) {
  EXPECT_EQ(Run("new-game\nset-flag 10 1\nclick line 2\n"),
            "walk.qvs:3: click line 2 failed\n  found: line 2 is not on screen\n");
  EXPECT_EQ(status_, 1);
  EXPECT_EQ(Run("new-game\nset-flag 10 1\nexpect conversation 3\n"),
            "walk.qvs:3: expect conversation 3 failed\n  found: conversation 1\n");
}

}  // namespace
}  // namespace qv::app
