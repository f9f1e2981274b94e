#include "tools/game_json.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "test_support.h"

namespace qv::tools {
namespace {

using qv::testing::ReadBytes;
using qv::testing::TempDir;

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const GameJsonError& e) {
    return e.what();
  }
  return "";
}

TEST(GameJson, BadFieldsAreNamedAndNothingIsWritten) {
  auto error = [](const std::string& text) {
    return Message([&] { EncodeGame(ParseGameJson(text)); });
  };
  EXPECT_EQ(error(R"({"Scenes": [{"ScenePicture": "a-name-that-is-too-long.gif"}]})"),
            "Scenes record 1, ScenePicture: text of 27 characters does not fit its field of 15");
  EXPECT_EQ(error(R"({"Items": [{}, {"BarPictur": "x"}]})"),
            "Items record 2: unknown field 'BarPictur'");
  EXPECT_EQ(error(R"({"Scenes": [{"Objects": [{"Slot": 3, "ObjN25": 40000}]}]})"),
            "Scenes record 1, Objects slot 3, ObjN25: 40000 is outside the 16-bit range "
            "-32768..32767");
  EXPECT_EQ(error(R"({"Scenes": [{"LinkUp": [1, 2, 3, 4, 5, 6, 7]}]})"),
            "Scenes record 1, LinkUp: has 7 elements, at most 6");
  EXPECT_EQ(error(R"({"General": [{"GameTitle": "\u4e2d"}]})"),
            "General record 1, GameTitle: holds a character Windows-1252 cannot represent");
  EXPECT_EQ(error(R"({"SavedGames": {"../evil.sav": []}})"),
            "SavedGames: '../evil.sav' is not a plain file name");
  EXPECT_EQ(error(R"({"Scenes": [{"Objects": [{"Slot": 20}, {}]}]})"),
            "Scenes record 1, Objects: more slots than the scene has");

  TempDir dir;
  Json game = ParseGameJson(R"({"Locations": [{"LocName": "Pier"}],
                                "Scenes": [{"JumpScene": 99999}]})");
  EXPECT_THROW(BuildGame(game, dir.path()), GameJsonError);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "the good file was not written either";
}

TEST(GameJson, DumpOfAFolderHoldsEveryRecordOfEveryFile) {
  TempDir dir;
  Json game = ParseGameJson(R"({
    "Scenes": [{"ScenePicture": "One.bmp"}, {"ScenePicture": "Two.bmp"}],
    "Locations": [{"LocName": "Pier", "LocScene": 2}],
    "Items": {"Records": [{"ItemName": "Brass key"}], "Tail": "2020"},
    "General": [{"GameTitle": "Lighthouse", "CDLabel": ["DISC1", "DISC2"]}],
    "Conversations": [{"ConvLineText": ["Hello?", "", "Anyone there?"]}],
    "SavedGames": {"slot1.sav": [{"Description": "At the pier", "Scene": 2, "TrackVolume": -600}]}
  })");
  BuildGame(game, dir.path());
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "resource/Quorvex3.dat"), 211u);
  Json dumped = DumpGameFolder(dir.path());

  // Building the dump again gives the same bytes, so every record of every file is in it.
  TempDir again;
  BuildGame(dumped, again.path());
  for (const char* file :
       {"resource/Quorvex1.dat", "resource/Quorvex2.dat", "resource/Quorvex3.dat",
        "resource/Quorvex4.dat", "resource/Quorvex5.dat", "Saved/slot1.sav"}) {
    EXPECT_EQ(ReadBytes(again.path() / file), ReadBytes(dir.path() / file)) << file;
  }
  Json single = DumpFile(dir.path() / "resource/Quorvex2.dat");
  EXPECT_EQ(single["Locations"][0]["LocName"], "Pier");
}

TEST(GameJson, DumpRefusesWhatIsNoFileOrTooBigAndKeepsNamesThatAreNotUtf8) {
  TempDir dir;
  BuildGame(ParseGameJson(R"({"Scenes": [{}], "SavedGames": {"a.sav": [{"Scene": 3}]}})"),
            dir.path());
  // A saved game named in Windows-1252 ("été.sav"), as a Windows program writes it.
  std::filesystem::copy_file(dir.path() / "Saved/a.sav", dir.path() / "Saved/\xE9t\xE9.sav");
  Json game = DumpGameFolder(dir.path());
  EXPECT_EQ(game["SavedGames"]["\xC3\xA9t\xC3\xA9.sav"][0]["Scene"], 3);

  // A FIFO would block the reader for ever; a sparse file of a terabyte would not fit.
  ASSERT_EQ(::mkfifo((dir.path() / "Saved/pipe.sav").c_str(), 0600), 0);
  EXPECT_NE(Message([&] { DumpFile(dir.path() / "Saved/pipe.sav"); }).find("not an ordinary file"),
            std::string::npos);
  EXPECT_NE(Message([&] { DumpGameFolder(dir.path()); }).find("pipe.sav: not an ordinary file"),
            std::string::npos);
  std::filesystem::remove(dir.path() / "Saved/pipe.sav");
  const auto scenes = dir.path() / "resource/Quorvex1.dat";
  std::filesystem::resize_file(scenes, uint64_t{1} << 40);
  EXPECT_NE(Message([&] {
              DumpFile(scenes);
            }).find("1099511627776 bytes is too long for 4395-byte records (at most 32767"),
            std::string::npos);
}

}  // namespace
}  // namespace qv::tools
