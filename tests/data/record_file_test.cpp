#include "data/record_file.h"

#include <gtest/gtest.h>

#include "core/vb_error.h"
#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::TempDir;

int ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

TEST(RecordCount, RoundsToTheNearestRecordHalvesToEven) {
  EXPECT_EQ(RecordCount(3 * 4395, 4395), 3);
  EXPECT_EQ(RecordCount(3 * 4395 + 2198, 4395), 4) << "more than half a record counts";
  EXPECT_EQ(RecordCount(3 * 4395 + 2197, 4395), 3);
  EXPECT_EQ(RecordCount(1, 2), 0) << "exactly half of record 1 rounds to the even 0";
  EXPECT_EQ(RecordCount(3, 2), 2) << "one and a half rounds to 2";
  EXPECT_EQ(RecordCount(0, 4395), 0);
  EXPECT_EQ(RecordCount(32767ull * 112, 112), 32767);
  EXPECT_EQ(ErrorNumberOf([] { RecordCount(32768ull * 112, 112); }), 6);
}

TEST(RecordFile, ReadsRecordsAndZerosPastTheEnd) {
  TempDir dir;
  // Two records of 4 bytes and half of a third.
  std::string content = std::string("ABCD") + "EFGH" + "IJ";
  dir.Write("resource/Quorvex2.dat", content);
  GameFolder folder(dir.path());
  RecordFile file(folder, "resource\\Quorvex2.dat", 4);
  EXPECT_EQ(file.Count(), 2) << "2.5 records round to the even 2";
  EXPECT_EQ(file.Read(2), (std::vector<uint8_t>{'E', 'F', 'G', 'H'}));
  EXPECT_EQ(file.Read(3), (std::vector<uint8_t>{'I', 'J', 0, 0})) << "missing tail reads as zeros";
  EXPECT_EQ(file.Read(4), (std::vector<uint8_t>(4, 0)));
  EXPECT_EQ(file.Read(INT64_MAX), (std::vector<uint8_t>(4, 0)));
  EXPECT_EQ(ErrorNumberOf([&] { file.Read(0); }), 63);
  EXPECT_EQ(ErrorNumberOf([&] { file.Read(-5); }), 63);
}

TEST(RecordFile, MissingFileHasNoRecordsAndIsNotCreated) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "resource");
  GameFolder folder(dir.path());
  RecordFile file(folder, "resource/Quorvex1.dat", 4395);
  EXPECT_EQ(file.Count(), 0);
  EXPECT_EQ(file.Read(1), std::vector<uint8_t>(4395, 0));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "resource" / "Quorvex1.dat"));
}

TEST(RecordFile, OpeningFailuresCarryTheirErrorNumbers) {
  TempDir dir;
  GameFolder folder(dir.path());
  EXPECT_EQ(ErrorNumberOf([&] { RecordFile(folder, "resource/Quorvex1.dat", 4395); }), 76)
      << "no resource folder: Path not found";
  std::filesystem::create_directories(dir.path() / "resource" / "Quorvex1.dat");
  EXPECT_EQ(ErrorNumberOf([&] { RecordFile(folder, "resource/Quorvex1.dat", 4395); }), 75)
      << "a folder where the file should be";
  EXPECT_EQ(ErrorNumberOf([&] { RecordFile(folder, "../outside.dat", 10); }), 52);
}

TEST(RecordFile, ResolvesTheLiteralWhateverTheCaseOnDisk) {
  TempDir dir;
  dir.Write("RESOURCE/quorvex3.DAT", std::string(209 * 2, 'x'));
  GameFolder folder(dir.path());
  RecordFile file(folder, "resource\\Quorvex3.dat", 209);
  EXPECT_EQ(file.Count(), 2);
}

}  // namespace
}  // namespace qv::data
