#include "data/game_folder.h"

#include <gtest/gtest.h>

#include "core/vb_error.h"
#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::TempDir;

TEST(GameFolder, ResolvesEachPartIgnoringCaseWithEitherSeparator) {
  TempDir dir;
  auto real = dir.Write("Resource/Gfx/Door.GIF", "gif");
  GameFolder folder(dir.path());
  EXPECT_EQ(folder.AppPath().back(), '/');
  EXPECT_EQ(GameFolder("/").AppPath(), "/") << "the root gets no second separator";
  EXPECT_EQ(folder.Resolve(folder.AppPath() + "resource\\gfx\\door.gif"), real);
  EXPECT_EQ(folder.Resolve("RESOURCE/GFX/DOOR.gif"), real);
  EXPECT_EQ(folder.Resolve("resource\\gfx\\new.gif"), dir.path() / "Resource/Gfx/new.gif")
      << "a missing last part is kept as written";
}

TEST(GameFolder, RefusesNamesThatLeaveTheGameFolder) {
  TempDir dir;
  GameFolder folder(dir.path());
  for (const char* hostile : {"..\\secret.txt", "resource/../../etc/passwd", "/etc/passwd",
                              "\\windows\\win.ini", "C:\\autoexec.bat", "c:x"}) {
    EXPECT_THROW(folder.Resolve(hostile), VbError) << hostile;
    EXPECT_FALSE(folder.FileExists(hostile)) << hostile;
  }
  EXPECT_THROW(folder.Resolve(folder.AppPath() + "/etc/passwd"), VbError);
}

TEST(FileExists, OrdinaryFilesFoldersThatHoldAFileAndWildcardsLikeADirectoryListing) {
  TempDir dir;
  dir.Write("resource/mmedia/Bell.wav", "RIFF");
  dir.Write("resource/mmedia/.hidden.wav", "RIFF");
  dir.Write("Saved/game1.sav", "x");
  std::filesystem::create_directories(dir.path() / "resource/gfx/sub");
  std::filesystem::create_directories(dir.path() / "Empty");
  GameFolder folder(dir.path());
  // clang-format off
  const std::pair<const char*, bool> cases[] = {
      {"resource\\mmedia\\bell.WAV", true},      {"resource\\mmedia", false},
      {"resource\\mmedia\\.hidden.wav", false},  {"resource\\mmedia\\", true},
      {"resource\\gfx\\", false},                {"saved\\GAME?.SAV", true},
      {"Saved\\*.dat", false},                   {"Empty\\*", false}};
  // clang-format on
  for (const auto& [name, exists] : cases)
    EXPECT_EQ(folder.FileExists(folder.AppPath() + name), exists) << name;
  EXPECT_FALSE(folder.FileExists(""));
}

TEST(Wildcards, StarAndQuestionMark) {
  EXPECT_TRUE(MatchesWildcard("a*b*c", "axxbyyc"));
  EXPECT_FALSE(MatchesWildcard("a*b*c", "axxbyy"));
  EXPECT_FALSE(MatchesWildcard("?.gif", "xy.gif"));
  EXPECT_TRUE(MatchesWildcard("*.*", "README"));
  EXPECT_TRUE(MatchesWildcard("***", ""));
}

}  // namespace
}  // namespace qv::data
