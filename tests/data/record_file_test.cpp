#include "data/record_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::TempDir;
using qv::testing::VbErrorNumber;

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

}  // namespace
}  // namespace qv::data
