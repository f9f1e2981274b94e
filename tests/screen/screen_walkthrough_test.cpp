// Walkthrough scripts that click and hover inventory items and links through the player's
// own input route, give items as the debug window does, use the map, and check the hand,
// the inventory, the cursor and the map, in the script and in the state JSON.

#include <gtest/gtest.h>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "screen/screen_fixture.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class ScreenWalkthrough : public WalkthroughTest {
 protected:
  // Items: 1 the key (held at the start), 2 the rope, 3 a coin. Scene 1 leads right to 2;
  // 3 left to 4; in scene 3 a reactor puts the tower on the map; in scene 4 a link opens
  // the map. The shore is on the map from the start; the tower leads to scene 3 with a
  // bell.
  ScreenWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"j({
      "Items": [{"BarPicture": "key.gif", "InInventoryAtStart": 1}, {"BarPicture": "rope.gif"},
                {"BarPicture": "coin.gif"}],
      "Scenes": [
        {"LinkRight": [2, 2, 0, 640, 60, 475]},
        {},
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
    for (const char* name : {"key.gif", "rope.gif", "coin.gif"})
      dir_.Write(std::string("resource/gfx/") + name, qv::testing::SolidGif(8, 8));
    dir_.Write("resource/mmedia/bell.wav", qv::testing::SilentWav());
  }
};

// Taking, using and crossing scenes the demo game's walkthrough does; here what it leaves
// out.
TEST_F(ScreenWalkthrough, GivingPickingUpAndPuttingBack) {
  EXPECT_EQ(Run(R"qvs(
new-game
wait 100
give 3
expect inventory 1 3
click item 2
expect hand 2
hover item 1
click bar
expect hand none
hover item 1
expect cursor 13
)qvs"),
            "");
  EXPECT_EQ(StateJson(*player_)["inventory"], nlohmann::json::parse("[1, 3]"));
}

TEST_F(ScreenWalkthrough, TheHandAndTheCursorInTheStateJsonAndFailures) {
  EXPECT_EQ(Run("new-game\nwait 100\nclick item 1\n"), "");
  const auto state = StateJson(*player_);
  EXPECT_EQ(state["hand"], 1);
  EXPECT_TRUE(state["cursor"].is_null()) << "the key's own picture is the cursor";

  EXPECT_EQ(Run("new-game\nwait 100\nclick item 2\n"),
            "walk.qvs:3: click item 2 failed\n  found: inventory slot 2 shows no item\n");
  EXPECT_EQ(status_, 1);
  EXPECT_EQ(Run("new-game\nwait 100\nscene 2\nclick object 1\n"),
            "walk.qvs:4: click object 1 failed\n  found: object 1 is not on screen\n");
  EXPECT_EQ(Run("new-game\nwait 100\nexpect inventory 1 2\n"),
            "walk.qvs:3: expect inventory 1 2 failed\n  found: inventory 1\n");
  EXPECT_EQ(Run("new-game\nwait 100\nclick item 1\nexpect cursor 13\n"),
            "walk.qvs:4: expect cursor 13 failed\n  found: an item's picture\n");
  // A scene entered with an item in hand ends with the hand picture, not the busy cursor.
  EXPECT_EQ(Run("new-game\nwait 100\nclick item 1\nscene 2\nexpect cursor 14\n"),
            "walk.qvs:5: expect cursor 14 failed\n  found: an item's picture\n");
}

TEST_F(ScreenWalkthrough, ALinksCursorAndTheMapCancelledOrLeadingToALocationWithItsSound) {
  EXPECT_EQ(Run(R"qvs(
new-game
wait 100
expect map 1
hover link right
expect cursor 2
scene 3
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
click object 1
click location 2
expect log "Map Location #2 clicked (Scene #3)."
expect sound 20 "bell.wav"
expect scene 3
)qvs"),
            "");
  EXPECT_EQ(StateJson(*player_)["map"], nlohmann::json::parse("[1, 2]"));
}

TEST_F(ScreenWalkthrough, CommandsThatFindNothingToActOn) {
  EXPECT_EQ(Run("new-game\nwait 100\nclick location 1\n"),
            "walk.qvs:3: click location 1 failed\n  found: the map is not shown\n");
  EXPECT_EQ(Run("new-game\nwait 100\nclick link up\n"),
            "walk.qvs:3: click link up failed\n  found: the up link is not on screen\n");
}

}  // namespace
}  // namespace qv::app
