// A walkthrough that crosses three scenes by their direction links and one by the map,
// finds a location on the way, examines an item, and checks what the map shows in the
// script and in the state JSON.

#include <gtest/gtest.h>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "pictures/gif_writer.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class NavigationWalkthrough : public WalkthroughTest {
 protected:
  // Scene 1 leads right to 2, 2 down to 3, 3 left to 4; in scene 3 a reactor puts the
  // tower on the map; in scene 4 a link opens the map. The shore is on the map from the
  // start; the tower leads to scene 3 with a bell. The key is examined in a close-up.
  NavigationWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"j({
      "Items": [{"BarPicture": "key.gif", "InInventoryAtStart": 1, "ExamineMode": 1,
                 "CloseupMode": 1, "CloseupFile": "key.gif", "ItemName": "Key"}],
      "Scenes": [
        {"LinkRight": [2, 2, 0, 640, 60, 475]},
        {"LinkDown": [3, 3, 415, 0, 700, 60], "LinkUp": [1, 1, 0, 0, 700, 60]},
        {"LinkLeft": [4, 4, 0, 0, 60, 475],
         "Objects": [{"ObjType": 4, "ObjX": 300, "ObjY": 200, "ObjN4": 1, "ObjN0": 1,
                      "ObjN12": 1, "ObjN13": 2}]},
        {"Objects": [{"ObjType": 1, "ObjX": 300, "ObjY": 200, "ObjN13": 1, "ObjN11": 2}]}],
      "Locations": [
        {"LocName": "Shore", "LocPicture": "(None)", "LocLeft": 100, "LocTop": 100,
         "LocScene": 1, "LocOnMapAtStart": 1},
        {"LocName": "Tower", "LocPicture": "(None)", "LocLeft": 400, "LocTop": 100,
         "LocScene": 3, "LocMediaOn": 1, "LocMedia": "bell.wav", "LocVolume": -300}]})j"),
                     dir_.path());
    qv::testing::GifLayout gif;
    gif.width = gif.height = 8;
    gif.frames.push_back(qv::testing::SolidFrame(0, 0, 8, 8, 1));
    dir_.Write("resource/gfx/key.gif", qv::testing::WriteGif(gif));
    dir_.Write("resource/mmedia/bell.wav", qv::testing::SilentWav());
  }
};

TEST_F(NavigationWalkthrough, ThreeScenesByLinksAndOneByTheMap) {
  EXPECT_EQ(Run(R"qvs(
new-game
wait 100
expect map 1
hover link right
expect cursor 2
click link right
expect log "Link (Right) clicked."
expect scene 2
wait 100
click link down
expect scene 3
wait 100
click object 1
expect map 1 2
click link left
expect log "Link (Left) clicked."
expect scene 4
wait 100
click object 1
expect log "Map activated."
map-cancel
expect log "Map canceled"
expect scene 4
click object 1
click location 2
expect log "Map Location #2 clicked (Scene #3)."
expect sound 20 "bell.wav"
expect scene 3
wait 100
click item 1
examine
key Escape
expect log "Examine Window Closed"
)qvs"),
            "");
  EXPECT_EQ(StateJson(*player_)["map"], nlohmann::json::parse("[1, 2]"));
}

TEST_F(NavigationWalkthrough, CommandsThatFindNothingToActOn) {
  EXPECT_EQ(Run("new-game\nwait 100\nclick location 1\n"),
            "walk.qvs:3: click location 1 failed\n  found: the map is not shown\n");
  EXPECT_EQ(Run("new-game\nwait 100\nclick link up\n"),
            "walk.qvs:3: click link up failed\n  found: the up link is not on screen\n");
}

}  // namespace
}  // namespace qv::app
