#include "data/scene_data.h"

#include <gtest/gtest.h>

#include "core/text.h"
#include "core/vb_array.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "data/record_codec.h"
#include "data/record_file.h"
#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::RecordingBoxes;
using qv::testing::TempDir;
using qv::testing::VbErrorNumber;
using qv::testing::VbErrorText;

TEST(RecordFile, AMissingFileHasNoRecordsAnOpenOneReadsZerosPastTheEndAndFailuresCarryNumbers) {
  TempDir dir;
  GameFolder folder(dir.path());
  EXPECT_EQ(VbErrorNumber([&] { RecordFile(folder, "resource/Quorvex1.dat", 4395); }), 76)
      << "no resource folder: Path not found";
  std::filesystem::create_directories(dir.path() / "resource");
  RecordFile missing(folder, "resource/Quorvex1.dat", 4395);
  EXPECT_EQ(missing.Count(), 0);
  EXPECT_EQ(missing.Read(1), std::vector<uint8_t>(4395, 0));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "resource" / "Quorvex1.dat")) << "not created";
  std::filesystem::create_directories(dir.path() / "resource" / "Quorvex3.dat");
  EXPECT_EQ(VbErrorNumber([&] { RecordFile(folder, "resource/Quorvex3.dat", 209); }), 75)
      << "a folder where the file should be";
  EXPECT_EQ(VbErrorNumber([&] { RecordFile(folder, "../outside.dat", 10); }), 52);

  // Two records of 4 bytes and half of a third, named in another case on disk.
  dir.Write("resource/quorvex2.DAT", std::string("ABCD") + "EFGH" + "IJ");
  RecordFile file(folder, "resource\\Quorvex2.dat", 4);
  EXPECT_EQ(file.Count(), 2) << "2.5 records round to the even 2";
  EXPECT_EQ(file.Read(2), (std::vector<uint8_t>{'E', 'F', 'G', 'H'}));
  EXPECT_EQ(file.Read(3), (std::vector<uint8_t>{'I', 'J', 0, 0})) << "missing tail reads as zeros";
  EXPECT_EQ(file.Read(INT64_MAX), (std::vector<uint8_t>(4, 0)));
  EXPECT_EQ(VbErrorNumber([&] { file.Read(0); }), 63);
  EXPECT_EQ(VbErrorNumber([&] { file.Read(-5); }), 63);
}

// Trimming, number texts and rounding halves to even show in the scene data, the log
// lines and the flag conjunctions' tests; here the edges those do not reach.
TEST(TextsAndNumbers, TheEdgesTheGamesDoNotReach) {
  EXPECT_EQ(TrimBlanks("\tx "), "\tx") << "only blanks";
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_THROW(ToInt16(32767.5), VbError) << "rounds to 32768";
  EXPECT_THROW(ToInt16(1e300), VbError);
  EXPECT_THROW(AddInt16(-32768, -1), VbError);
  VbArray<int16_t, 0, 20> table;
  EXPECT_NO_THROW(table[20] = 3);
  EXPECT_THROW(table[-1], VbError);
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  std::string utf8 = Cp1252ToUtf8(all);
  auto back = Utf8ToCp1252(utf8);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC") << "0x80 is the euro sign";
  EXPECT_FALSE(Utf8ToCp1252("\xE4\xB8\xAD").has_value()) << "a CJK character has no byte";
  EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value()) << "truncated UTF-8";
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xE4\xB8\xAD"
                              "b"),
            "a?b");
}

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& records) {
  std::vector<uint8_t> all;
  for (const auto& r : records)
    all.insert(all.end(), r.begin(), r.end());
  return all;
}

class SceneDataTest : public ::testing::Test {
 protected:
  SceneDataTest() : folder_(dir_.path()), data_(folder_, boxes_) {
    std::filesystem::create_directories(dir_.path() / "resource");
  }

  TempDir dir_;
  GameFolder folder_;
  RecordingBoxes boxes_;
  SceneData data_;
};

TEST_F(SceneDataTest, CountsRecordsOfTheThreeCountedFilesAndClosedFilesRaiseBadFileNumber) {
  dir_.Write("resource/Quorvex1.dat", std::vector<uint8_t>(3 * 4395 + 2198, 0));
  dir_.Write("resource/Quorvex2.dat", std::vector<uint8_t>(5 * 112, 0));
  dir_.Write("resource/Quorvex3.dat", std::vector<uint8_t>(7 * 209 + 104, 0));
  data_.OpenSceneBase();
  data_.OpenLocBase();
  data_.OpenInvBase();
  data_.OpenConvBase();
  EXPECT_EQ(data_.SceneCount, 4);
  EXPECT_EQ(data_.LocCount, 5);
  EXPECT_EQ(data_.InvCount, 7);
  EXPECT_TRUE(boxes_.boxes.empty()) << "a missing conversation file is not an error";

  // Closed files raise Bad file number; closing twice does nothing.
  dir_.Write("resource/Quorvex5.dat", std::vector<uint8_t>(1712, ' '));
  data_.OpenConvBase();
  EXPECT_NO_THROW(data_.ReadConversation(1));
  data_.CloseBases();
  data_.CloseBases();
  EXPECT_EQ(VbErrorNumber([&] { data_.ReadConversation(1); }), 52);
  EXPECT_THROW(data_.ReadScene(1), VbError);
}

TEST_F(SceneDataTest, TooManyRecordsOverflowsThroughTheBox) {
  auto file = dir_.path() / "resource/Quorvex2.dat";
  std::ofstream(file).close();
  std::filesystem::resize_file(file, 32768ull * 112);
  data_.OpenLocBase([] { FAIL() << "the map is not built after a failed count"; });
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].text,
            "Unexpected error in procedure: OpenLocBase\r\nError #6: Overflow");
  EXPECT_EQ(data_.LocCount, 0);
  std::filesystem::resize_file(file, 32767ull * 112);
  data_.OpenLocBase();
  EXPECT_EQ(data_.LocCount, 32767) << "the most records a file may hold";
}

TEST_F(SceneDataTest, ReadSceneCopiesEveryFieldTrimmedAndRefusesRecordZero) {
  SceneRecord blank, second;  // blank encodes texts as blanks, numbers as zeros
  second.ScenePicture = "  Hall.jpg";
  second.SoundtrackFile = std::string(15, ' ');
  second.ExitSound = std::string(15, '\0');
  second.LinkRight = {11, 5, 100, 600, 90, 475};
  SceneObjectSlot& door = second.Objects[19];  // slot 20
  door.ObjS[0] = "Door.GIF";
  door.ObjN[32] = -1;
  dir_.Write("resource/Quorvex1.dat", Concat({EncodeRecord(blank), EncodeRecord(second)}));
  data_.OpenSceneBase();
  data_.ReadScene(2);

  const SceneTables& s = data_.scene;
  EXPECT_EQ(s.CurrentScene, 2);
  EXPECT_EQ(s.ScenePicture, "Hall.jpg");
  EXPECT_EQ(s.SoundtrackFile, "") << "all blanks is not set";
  EXPECT_EQ(s.ExitSound, std::string(15, '\0')) << "zero bytes are not blanks";
  EXPECT_EQ(s.LinkRight[5], 475);
  EXPECT_EQ(s.ObjS[0][20], "Door.GIF");
  EXPECT_EQ(s.ObjN[32][20], -1) << "the last field of the last slot";

  EXPECT_EQ(VbErrorText([&] { data_.ReadScene(0); }), "63 Bad record number");
  EXPECT_EQ(s.CurrentScene, 2) << "the tables are left as they were";
  EXPECT_EQ(s.ScenePicture, "Hall.jpg");

  data_.ReadScene(1);
  EXPECT_EQ(s.ObjS[0][20], "") << "nothing of the previous scene stays";
  EXPECT_EQ(s.ScenePicture, "");
  data_.ReadScene(9);  // past the end: an all-zero record
  EXPECT_EQ(s.CurrentScene, 9);
  EXPECT_EQ(s.ScenePicture, std::string(15, '\0'));
}

}  // namespace
}  // namespace qv::data
