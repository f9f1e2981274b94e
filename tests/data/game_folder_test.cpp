#include "data/game_folder.h"

#include <gtest/gtest.h>

#include "core/vb_error.h"
#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::TempDir;

TEST(GameFolder, AppPathEndsInTheSeparator) {
  TempDir dir;
  GameFolder folder(dir.path());
  EXPECT_EQ(folder.AppPath().back(), '/');
  EXPECT_EQ(GameFolder("/").AppPath(), "/") << "the root gets no second separator";
}

TEST(GameFolder, ResolvesEachPartIgnoringCaseWithEitherSeparator) {
  TempDir dir;
  auto real = dir.Write("Resource/Gfx/Door.GIF", "gif");
  GameFolder folder(dir.path());
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

TEST(FileExists, OrdinaryFilesOnly) {
  TempDir dir;
  dir.Write("resource/mmedia/Bell.wav", "RIFF");
  dir.Write("resource/mmedia/.hidden.wav", "RIFF");
  std::filesystem::create_directories(dir.path() / "resource/gfx");
  GameFolder folder(dir.path());
  EXPECT_TRUE(folder.FileExists(folder.AppPath() + "resource\\mmedia\\bell.WAV"));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "resource\\mmedia\\none.wav"));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "resource\\mmedia")) << "a folder";
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "resource\\mmedia\\.hidden.wav"));
  EXPECT_FALSE(folder.FileExists(""));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "nofolder\\x.wav"));
}

TEST(FileExists, FolderPathIsTrueWhenTheFolderHoldsAFile) {
  TempDir dir;
  dir.Write("resource/mmedia/Bell.wav", "RIFF");
  std::filesystem::create_directories(dir.path() / "resource/gfx/sub");
  GameFolder folder(dir.path());
  EXPECT_TRUE(folder.FileExists(folder.AppPath() + "resource\\mmedia\\"));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "resource\\gfx\\")) << "only a subfolder";
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "resource\\nothing\\"));
}

TEST(FileExists, WildcardsMatchLikeADirectoryListing) {
  TempDir dir;
  dir.Write("Saved/game1.sav", "x");
  std::filesystem::create_directories(dir.path() / "Empty");
  GameFolder folder(dir.path());
  EXPECT_TRUE(folder.FileExists(folder.AppPath() + "Saved\\*.sav"));
  EXPECT_TRUE(folder.FileExists(folder.AppPath() + "saved\\GAME?.SAV"));
  EXPECT_TRUE(folder.FileExists(folder.AppPath() + "Saved\\*"));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "Saved\\*.dat"));
  EXPECT_FALSE(folder.FileExists(folder.AppPath() + "Empty\\*"));
}

TEST(Wildcards, StarAndQuestionMark) {
  EXPECT_TRUE(MatchesWildcard("*.sav", "A.SAV"));
  EXPECT_TRUE(MatchesWildcard("a*b*c", "axxbyyc"));
  EXPECT_FALSE(MatchesWildcard("a*b*c", "axxbyy"));
  EXPECT_TRUE(MatchesWildcard("?.gif", "x.gif"));
  EXPECT_FALSE(MatchesWildcard("?.gif", "xy.gif"));
  EXPECT_TRUE(MatchesWildcard("*.*", "README"));
  EXPECT_TRUE(MatchesWildcard("***", ""));
}

}  // namespace
}  // namespace qv::data
