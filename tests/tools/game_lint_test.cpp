#include "tools/game_lint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "media/movie_files.h"
#include "pictures/gif_writer.h"
#include "sound/wav_writer.h"
#include "test_support.h"
#include "tools/game_json.h"

namespace qv::tools {
namespace {

using qv::testing::SolidGif;
using qv::testing::TempDir;
using ::testing::Contains;
using ::testing::IsEmpty;

// A small game that lints clean: two rooms joined by links, a key to take, a
// conversation whose line sets the flag a responder waits for, and the score. Names in
// the records differ in letter case from the files, as the player allows.
constexpr const char* kGame = R"json({
  "General": [{"GameTitle": "Lint", "HasScore": 1, "ScoreFlag": 3, "MaxScore": 10}],
  "Scenes": [
    {"ScenePicture": "Room.GIF", "LinkRight": [13, 2, 0, 650, 50, 475],
     "Objects": [
       {"ObjType": 2, "ObjX": 100, "ObjY": 100, "ObjS0": "key.gif", "ObjN5": 1,
        "ObjN11": 2, "ObjN12": 1, "ObjN15": 1, "ObjN16": 1, "ObjN17": 1},
       {"ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 1, "ObjN4": 1}]},
    {"ScenePicture": "room.gif", "EntrySoundA": "Wind.WAV", "EntryMovie": "intro.avi",
     "LinkLeft": [13, 1, 0, 0, 50, 475],
     "Objects": [
       {"ObjType": 5, "ObjN0": 1, "ObjN1": 2, "ObjN3": 1, "ObjN12": 1, "ObjN13": 3,
        "ObjN14": 10}]}
  ],
  "Items": [{"ItemName": "Key", "BarPicture": "KEY.gif"}],
  "Locations": [{"LocName": "Room", "LocPicture": "(None)", "LocScene": 1, "LocOnMapAtStart": 1}],
  "Conversations": [{"ConvLineText": ["Hello"], "ConvLineFlagOn": [1], "ConvLineFlag": [2],
                     "ConvLineValue": [1]}]
})json";

// A second of a small silent movie, made once by the ffmpeg command.
const std::vector<uint8_t>& Movie() {
  static const std::vector<uint8_t> bytes = [] {
    TempDir dir;
    qv::testing::MovieRecipe recipe;
    recipe.colours = "red";
    EXPECT_TRUE(qv::testing::MakeMovie(dir.path() / "m.avi", recipe));
    return qv::testing::ReadBytes(dir.path() / "m.avi");
  }();
  return bytes;
}

class GameLint : public ::testing::Test {
 protected:
  GameLint() : game_(ParseGameJson(kGame)) {}

  // Builds the game (after `change` on its JSON), writes its media, plants `fault` in
  // the folder and returns the lint's lines.
  std::vector<std::string> Lint(const std::function<void(Json&)>& change = {},
                                const std::function<void(const TempDir&)>& fault = {}) {
    if (change) change(game_);
    BuildGame(game_, dir_.path());
    dir_.Write("resource/gfx/room.gif", SolidGif(700, 475));
    dir_.Write("resource/gfx/key.gif", SolidGif(20, 20));
    dir_.Write("resource/mmedia/wind.wav", qv::testing::SilentWav());
    dir_.Write("resource/mmedia/intro.avi", Movie());
    if (fault) fault(dir_);
    findings_ = LintGame(dir_.path());
    std::vector<std::string> lines;
    for (const Finding& f : findings_)
      lines.push_back(FindingLine(f));
    return lines;
  }

  Json game_;
  TempDir dir_;
  std::vector<Finding> findings_;
};

TEST_F(GameLint, MediaMissingOrNotDecodingWithinTheBudgets) {
  EXPECT_THAT(Lint([](Json& g) { g["Scenes"][0]["ScenePicture"] = "gone.gif"; }),
              Contains("resource/Quorvex1.dat:1:ScenePicture: error: no file \"gone.gif\" in "
                       "resource/gfx"));
  auto lines = Lint({}, [](const TempDir& d) {
    d.Write("resource/gfx/key.gif", "not a picture");
    d.Write("resource/gfx/room.gif", SolidGif(5000, 10));  // wider than any picture may be
    d.Write("resource/mmedia/wind.wav", "RIFF....WAVEjunk");
    d.Write("resource/mmedia/intro.avi", "RIFF....WAVE");
  });
  EXPECT_THAT(lines, Contains("resource/Quorvex1.dat:1:Slot1.ObjS0: error: \"key.gif\": Invalid "
                              "picture (481)"));
  EXPECT_THAT(lines, Contains("resource/Quorvex3.dat:1:BarPicture: error: \"KEY.gif\": Invalid "
                              "picture (481)"));
  EXPECT_THAT(lines, Contains("resource/Quorvex1.dat:2:ScenePicture: error: \"room.gif\": "
                              "Invalid picture (481)"));
  EXPECT_THAT(lines, Contains("resource/Quorvex1.dat:2:EntrySoundA: error: \"Wind.WAV\": Invalid "
                              "file format (321)"));
  EXPECT_THAT(lines, Contains("resource/Quorvex1.dat:2:EntryMovie: error: \"intro.avi\": Invalid "
                              "file format (321)"));
  EXPECT_TRUE(HasErrors(findings_));
}

TEST_F(GameLint, NumbersOutsideTheirFiles) {
  auto lines = Lint([](Json& g) {
    g["Scenes"][0]["LinkRight"][1] = 9;
    g["Scenes"][0]["JumpEnabled"] = 1;
    g["Scenes"][0]["JumpScene"] = 5;
    g["Scenes"][0]["Objects"][0]["ObjN5"] = 4;
    g["Scenes"][0]["Objects"][1]["ObjN0"] = 3;
    g["Scenes"][1]["Objects"].push_back(
        {{"ObjType", 4}, {"ObjS0", "key.gif"}, {"ObjN4", 1}, {"ObjN12", 1}, {"ObjN13", 2}});
    g["Scenes"][1]["Objects"].push_back({{"ObjType", 12}});
    g["General"][0]["CDModeEnabled"] = 1;
    g["General"][0]["CDLabel"] = {"DISC 1"};
    g["General"][0]["CDFirstScene"] = {1};
    g["General"][0]["CDLastScene"] = {4};
  });
  for (const char* line : {
           "resource/Quorvex1.dat:1:LinkRight[1]: error: scene 9 does not exist "
           "(resource/Quorvex1.dat holds 2)",
           "resource/Quorvex1.dat:1:JumpScene: error: scene 5 does not exist "
           "(resource/Quorvex1.dat holds 2)",
           "resource/Quorvex1.dat:1:Slot1.ObjN5: error: item 4 does not exist "
           "(resource/Quorvex3.dat holds 1)",
           "resource/Quorvex1.dat:1:Slot2.ObjN0: error: conversation 3 does not exist "
           "(resource/Quorvex5.dat holds 1)",
           "resource/Quorvex1.dat:2:Slot2.ObjN13: error: location 2 does not exist "
           "(resource/Quorvex2.dat holds 1)",
           "resource/Quorvex1.dat:2:Slot3.ObjType: error: object type 12 is unknown: the player "
           "shows a placeholder picture",
           "resource/Quorvex4.dat:1:CDLastScene[0]: error: scene 4 does not exist "
           "(resource/Quorvex1.dat holds 2)",
       })
    EXPECT_THAT(lines, Contains(line));
}

TEST_F(GameLint, ScenesFlagsAndItemsNothingUses) {
  auto lines = Lint([](Json& g) {
    g["Scenes"].push_back({{"ScenePicture", "room.gif"}});  // no way in
    g["Scenes"][1]["Objects"][0]["ObjN1"] = 7;              // waits for a flag nothing sets
    g["Scenes"][0]["EntryFlagOn"] = 1;
    g["Scenes"][0]["EntryFlag"] = 300;
    g["Items"].push_back({{"ItemName", "Rope"}, {"BarPicture", "key.gif"}});
  });
  for (const char* line : {
           "resource/Quorvex1.dat:3:-: warning: nothing reaches scene 3 from scene 1 (no link, "
           "map location, responder, multi-trigger or jump)",
           "resource/Quorvex1.dat:2:Slot1.ObjN1: warning: flag 7 is tested here but nothing "
           "sets it",
           "resource/Quorvex5.dat:1:ConvLineFlag[0]: warning: flag 2 is set here but nothing "
           "tests it",
           "resource/Quorvex1.dat:1:EntryFlag: error: flag 300 is outside 1-255",
           "resource/Quorvex3.dat:2:-: warning: nothing gives item 2 (no Goodie, responder, "
           "combination or examining, and it is not held at the start)",
       })
    EXPECT_THAT(lines, Contains(line));
}

// The small game, and more that it reaches, lint clean.
TEST_F(GameLint, EveryWayInAndEveryFlagUseCountsSoNothingIsReportedFalsely) {
  // Scene 3 by a multi-trigger, 4 by a responder, 5 by a map location an item's examining
  // adds, 6 as the credits scene, 7 by a jump from 6; flags read and written by a
  // switch, a delay, a flag conjunction (its change written as text) and examining.
  auto lines = Lint([](Json& g) {
    for (int k = 0; k < 5; ++k)
      g["Scenes"].push_back({{"ScenePicture", "room.gif"}});
    g["Scenes"][5]["JumpEnabled"] = 1;
    g["Scenes"][5]["JumpScene"] = 7;
    g["Scenes"][5]["JumpFlag"] = 6;
    auto& objects = g["Scenes"][1]["Objects"];
    objects.push_back({{"ObjType", 7}, {"ObjN1", 4}, {"ObjN3", 1}, {"ObjN8", 3}});
    objects.push_back(
        {{"ObjType", 5}, {"ObjN0", 1}, {"ObjN1", 5}, {"ObjN3", 2}, {"ObjN10", 1}, {"ObjN11", 4}});
    objects.push_back({{"ObjType", 3},
                       {"ObjX", 10},
                       {"ObjS0", "key.gif"},
                       {"ObjN0", 4},
                       {"ObjN4", 1},
                       {"ObjN12", 1}});
    objects.push_back({{"ObjType", 6}, {"ObjN1", 4}, {"ObjN4", 2}, {"ObjN5", 5}, {"ObjN6", 2}});
    objects.push_back({{"ObjType", 9},
                       {"ObjN1", 1},
                       {"ObjN2", 5},
                       {"ObjN3", 3},
                       {"ObjN4", 1},
                       {"ObjS0", "6.0"},
                       {"ObjS1", "1"},
                       {"ObjS2", "0"}});
    g["Items"][0].update({{"ExamineAddsLocation", 1},
                          {"ExamineLocation", 2},
                          {"ExamineChangesFlag", 1},
                          {"ExamineFlag", 6}});
    g["Locations"].push_back({{"LocPicture", "(None)"}, {"LocScene", 5}});
    g["General"][0]["CreditsScene"] = 6;
  });
  EXPECT_THAT(lines, IsEmpty());
}

TEST_F(GameLint, MusicLogosCustomPicturesAndBadNames) {
  auto lines = Lint(
      [](Json& g) {
        g["Scenes"][0]["SoundtrackFile"] = "theme.mid";
        g["Scenes"][1]["SoundtrackFile"] = "(STOP SNDTRK)";
        g["Scenes"][1]["ExitSound"] = "..\\wind.wav";
        g["General"][0].update({{"MenuMusic", "menu.ogg"},
                                {"OpeningLogo", "logo.gif"},
                                {"InterfaceKind", 0},
                                {"MenuBackgroundCustom", 2},
                                {"MenuBackgroundText", "menu.gif"},
                                {"GameBackgroundText", "100/40"}});
      },
      [](const TempDir& d) {
        d.Write("resource/mmedia/theme.mid", qv::testing::OneNoteMidi());
        d.Write("resource/gfx/logo.gif", SolidGif(40, 30));
      });
  EXPECT_THAT(lines, ::testing::ElementsAre(
                         "resource/Quorvex1.dat:2:ExitSound: error: \"..\\wind.wav\": Bad file "
                         "name or number (52)",
                         "resource/Quorvex4.dat:1:MenuMusic: warning: \"menu.ogg\" plays nothing: "
                         "music is a .wav, .mid or .mp3 file",
                         "resource/Quorvex4.dat:1:MenuBackgroundText: error: no file "
                         "\"menu.gif\" in resource/gfx"));
}

TEST_F(GameLint, LinksAndLocationsThatCannotWork) {
  auto lines = Lint([](Json& g) {
    g["Scenes"][0]["JumpEnabled"] = 1;
    g["Scenes"][0]["JumpScene"] = 1;
    g["Scenes"][1]["Objects"].push_back(
        {{"ObjType", 1}, {"ObjN13", 1}, {"ObjN25", 1}, {"ObjS4", "40"}, {"ObjS5", "wide"}});
    g["Scenes"][1]["Objects"].push_back(
        {{"ObjType", 0}, {"ObjS0", "key.gif"}, {"ObjN4", 1}, {"ObjN12", 1}, {"ObjN13", 2}});
    g["Locations"].push_back({{"LocPicture", "Del"}, {"LocScene", 2}});
    for (int k = 0; k < 19; ++k)
      g["Locations"].push_back({{"LocPicture", "(None)"}});
    g["General"][0]["CDModeEnabled"] = 1;
  });
  for (const char* line : {
           "resource/Quorvex1.dat:1:JumpScene: error: the jump leads to its own scene, which the "
           "player refuses",
           "resource/Quorvex1.dat:2:Slot2.ObjS5: warning: the invisible area is 0 x 40: nothing "
           "can click it",
           "resource/Quorvex1.dat:2:Slot3.ObjN13: error: location 2 is no location (its picture "
           "field is \"Del\" or empty)",
           "resource/Quorvex2.dat:21:LocPicture: error: the map holds 20 locations: the player "
           "leaves this one out",
           "resource/Quorvex4.dat:1:CDModeEnabled: error: the game runs from CDs but no CD has a "
           "label: the player cannot start it",
       })
    EXPECT_THAT(lines, Contains(line));
}

TEST_F(GameLint, SettingsLengthAndObjectsOffTheScene) {
  auto lines = Lint([](Json& g) { g["Scenes"][0]["Objects"][0]["ObjX"] = 690; },
                    [](const TempDir& d) {
                      std::filesystem::resize_file(d.path() / "resource/Quorvex4.dat", 907);
                    });
  EXPECT_THAT(lines, Contains("resource/Quorvex4.dat:-:-: error: 907 bytes, not 908: the player "
                              "ignores the settings and starts with its built-in interface"));
  EXPECT_THAT(lines, Contains("resource/Quorvex1.dat:1:Slot1.ObjX: warning: the Goodie at 690, "
                              "100 (20 x 20) reaches beyond the 700 x 475 scene"));
}

TEST_F(GameLint, WarningsAloneAreNoErrorsAndJsonCarriesEveryPart) {
  Lint([](Json& g) { g["Scenes"][0]["Objects"][0]["ObjY"] = 500; });
  ASSERT_EQ(findings_.size(), 1u);
  EXPECT_FALSE(HasErrors(findings_));
  EXPECT_EQ(FindingsJson(findings_).dump(),
            R"([{"file":"resource/Quorvex1.dat","record":1,"field":"Slot1.ObjX",)"
            R"("severity":"warning","message":"the Goodie at 100, 500 (20 x 20) lies outside )"
            R"(the 700 x 475 scene"}])");
  EXPECT_THROW(LintGame(dir_.path() / "resource"), NotAGameError);
}

}  // namespace
}  // namespace qv::tools
