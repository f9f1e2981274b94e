// Leaving a scene by its direction links and by the map: the links' cursors and clicks,
// the map built from the location file, locations added, clicked and cancelled, and the
// bad numbers and pictures a location file may hold.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/vb_error.h"
#include "screen_fixture.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(DirectionLinks, CursorsClicksAndATargetTheSceneFileRefuses) {
  // Up has no target; right leads to scene 2 with cursor 5; down to a scene number the
  // file refuses.
  EngineHarness h(R"({"Items": [{"BarPicture": "key.gif"}], "Scenes": [
      {"LinkUp": [3, 0, 0, 0, 700, 60], "LinkRight": [5, 2, 0, 640, 60, 475],
       "LinkDown": [6, -3, 415, 0, 700, 60]}, {}]})");
  WritePictures(h, {"key.gif"});
  h.EnterScene(1);
  screen::GameScreen& screen = h.screen();
  h.ClearLog();

  h.links().MouseMove(1);
  EXPECT_EQ(screen.CurrentCursor(), 13);
  EXPECT_EQ(screen.LastHoverButton, 97);
  h.links().Click(1);
  EXPECT_THAT(h.Lines(), IsEmpty()) << "a link to scene 0 is no link";
  h.links().MouseMove(2);
  EXPECT_EQ(screen.CurrentCursor(), 5);
  // A game with its own cursor 5: the link still shows the player's own picture.
  screen.SetCursorPicture(5, h.pictures().builtins().NoPic(), 0, 0);
  screen.ShowCursor(13);
  h.links().MouseMove(2);
  EXPECT_EQ(screen.PictureCursor(), h.pictures().builtins().Cursor(5).picture->frames.front());

  ASSERT_TRUE(h.inventory().AddInventoryItem(1, false, 0));
  h.inventory().ItemMouseDown(1, LeftButton());
  h.links().MouseMove(1);
  EXPECT_EQ(screen.PictureCursor(), screen.FlashFixIcon->Picture()) << "the held item";

  h.ClearLog();
  h.links().Click(3);
  h.Settle();
  EXPECT_THAT(h.Lines(), ElementsAre("Link (Down) clicked."));
  EXPECT_THAT(
      h.Boxes(),
      ElementsAre("Unexpected error in procedure: LoadScene\r\nError #63: Bad record number"));
  EXPECT_EQ(h.scene().CurrentScene, 1);
  EXPECT_FALSE(h.engine().SceneChanging);
  EXPECT_FALSE(screen.BusyCursorShowing()) << "the player is not left waiting";

  h.ClearLog();
  h.links().Click(2);
  h.Settle();
  EXPECT_THAT(h.Lines(),
              ElementsAre("Link (Right) clicked.", "Loading scene 2...", "Scene 2 loaded."));
  EXPECT_EQ(h.scene().CurrentScene, 2);
}

class Map : public ::testing::Test {
 protected:
  // Locations: 1 the standard picture, on the map from the start, leading to scene 2;
  // 2 deleted; 3 a picture of its own, with a sound, to scene 3; 4 a missing picture and
  // no scene; 5 a broken picture, with a movie, to scene 2; 6 a scene the file refuses.
  Map()
      : h(R"j({"Scenes": [{}, {}, {}], "Locations": [
      {"LocName": "Shore", "LocPicture": "(None)", "LocLeft": 10, "LocTop": 20, "LocScene": 2,
       "LocOnMapAtStart": 1, "MapBackground": "sea.gif"},
      {"LocPicture": "Del", "LocScene": 3, "LocOnMapAtStart": 1},
      {"LocName": "Tower", "LocPicture": "tower.gif", "LocScene": 3, "LocMediaOn": 1,
       "LocMedia": "bell.WAV", "LocVolume": -100, "LocPan": 50},
      {"LocPicture": "missing.gif"},
      {"LocPicture": "broken.gif", "LocScene": 2, "LocMediaOn": 1, "LocMedia": "trip.Avi",
       "LocVolume": 7},
      {"LocPicture": "(None)", "LocScene": -4}]})j") {
    WritePictures(h, {"sea.gif"});
    WritePictures(h, {"tower.gif"}, 2);
    h.dir().Write("resource/gfx/broken.gif", "GIF89a, but no picture");
    h.data().OpenLocBase([this] { h.map().BuildMap(); });
    h.EnterScene(1);
  }

  // Opens the map as a Link object does, and lets the user act in it.
  void Visit(std::vector<std::function<void()>> actions) {
    User user(h.loop());
    for (auto& action : actions)
      user.actions.push_back(std::move(action));
    h.screen().Block->SetVisible(true);
    h.map().SetMapActive(true);
    h.map().ShowMapWindow();
    h.Settle();
  }

  EngineHarness h;
};

TEST_F(Map, BuiltFromTheLocationFileWithPlaceholdersForMissingAndBrokenPictures) {
  screen::MapWindow& map = h.map();
  const auto& builtins = h.pictures().builtins();
  EXPECT_THAT(h.Boxes(), ElementsAre("Unexpected error in procedure: OpenLocBase\r\n"
                                     "Error #481: Invalid picture"));
  EXPECT_NE(map.Image1->Picture(), nullptr);
  EXPECT_EQ(map.Loctn[1]->Picture(), builtins.NewLoca());
  EXPECT_EQ(map.Loctn[1]->ToolTip(), "Shore");
  EXPECT_EQ(map.Loctn[3]->FrameCount(), 2);
  EXPECT_EQ(map.Loctn[4]->Picture(), builtins.FNF());
  EXPECT_EQ(map.Loctn[5]->Picture(), builtins.FNF()) << "built all the same";
  EXPECT_THAT(map.ShownLocations(), ElementsAre(1));
  EXPECT_EQ(map.LocOnMap[2], 0) << "a deleted record is no location";

  map.AddMapLocation(3);
  map.AddMapLocation(3);
  map.AddMapLocation(0);
  map.AddMapLocation(2);
  EXPECT_THAT(h.Lines(), ElementsAre("Location #3 added to Map.", "Location #3 added to Map.",
                                     "Location #2 added to Map."));
  EXPECT_THAT(map.ShownLocations(), ElementsAre(1, 3)) << "once each; a deleted one not at all";
  EXPECT_THROW(map.AddMapLocation(21), VbError);

  // A new game forgets what the last one found, but not what is there from the start.
  h.engine().ResetGameState();
  EXPECT_THAT(map.ShownLocations(), ElementsAre(1));
}

TEST_F(Map, CancellingClickingAndMoviesAndAPlaceTheSceneFileRefuses) {
  screen::MapWindow& map = h.map();
  map.AddMapLocation(4);
  map.AddMapLocation(3);
  h.ClearLog();
  Visit({[&] { map.Command1Click(); }});
  EXPECT_THAT(h.Lines(), ElementsAre("Map activated.", "Map cancelled"));
  EXPECT_FALSE(h.screen().Block->Visible());
  EXPECT_FALSE(map.MapActive);
  EXPECT_FALSE(map.Loctn[3]->Playing());

  h.ClearLog();
  bool animating = false;
  Visit({[&] {
           animating = map.Loctn[3]->Playing();
           map.LoctnMouseMove(4);
           EXPECT_EQ(map.CurrentCursor(), 13);
           map.LoctnMouseMove(3);
           EXPECT_EQ(map.CurrentCursor(), 10);
           EXPECT_EQ(h.screen().LastHoverButton, 98);
           map.LoctnClick(4);
         },
         [&] { map.LoctnClick(3); }});
  EXPECT_TRUE(animating);
  EXPECT_THAT(h.Lines(), ElementsAre("Map activated.", "Map Location #4 clicked (NO SCENE LINKED).",
                                     "Map Location #3 clicked (Scene #3).", "Loading scene 3...",
                                     "Scene 3 loaded."));
  EXPECT_FALSE(map.form().Visible());

  // A location with a movie plays it before its scene loads.
  map.AddMapLocation(5);
  int16_t scene_at_movie = -1;
  h.calls().on_call = [&](const std::string& call) {
    if (call.rfind("PlayMovie(trip.Avi, 7", 0) == 0) scene_at_movie = h.scene().CurrentScene;
  };
  Visit({[&] { map.LoctnClick(5); }});
  EXPECT_EQ(scene_at_movie, 3);
  EXPECT_EQ(h.scene().CurrentScene, 2);

  map.AddMapLocation(6);
  h.calls().ClearCalls();
  Visit({[&] { map.LoctnClick(6); }});
  EXPECT_THAT(h.Boxes(), Contains("Unexpected error in procedure: LoadScene\r\n"
                                  "Error #63: Bad record number"));
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_FALSE(h.screen().Block->Visible()) << "the player can go on in this scene";
  EXPECT_TRUE(h.calls().calls().empty()) << "no movie meant for the other scene";
}

}  // namespace
}  // namespace qv::testing
