#include "data/game_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/text.h"
#include "core/vb_error.h"
#include "test_support.h"

namespace qv::data {
namespace {

using qv::testing::TempDir;

TEST(GameFolder, ResolvesEachPartIgnoringTheCaseOfAnyLetterWithEitherSeparator) {
  TempDir dir;
  auto real = dir.Write("Resource/Gfx/Door.GIF", "gif");
  GameFolder folder(dir.path());
  EXPECT_EQ(folder.AppPath().back(), '/');
  EXPECT_EQ(GameFolder("/").AppPath(), "/") << "the root gets no second separator";
  EXPECT_EQ(folder.Resolve(folder.AppPath() + "resource\\gfx\\door.gif"), real);
  EXPECT_EQ(folder.Resolve("RESOURCE/GFX/DOOR.gif"), real);
  EXPECT_EQ(folder.Resolve("resource\\gfx\\new.gif"), dir.path() / "Resource/Gfx/new.gif")
      << "a missing last part is kept as written";

  // Letters of Windows-1252 match in either case, on disk as UTF-8 or as Windows-1252.
  auto utf8 = dir.Write("Resource/Gfx/\xC3\x89t\xC3\xA9.gif", "gif");  // "Été.gif"
  auto raw = dir.Write(
      "Resource/Gfx/\xC6"
      "ble.gif",
      "gif");  // "Æble.gif" in Windows-1252
  EXPECT_EQ(folder.Resolve("resource/gfx/\xC3\xA9T\xC3\x89.GIF"), utf8);  // "éTÉ.GIF"
  EXPECT_EQ(folder.Resolve("resource/gfx/\xC3\xA6"
                           "BLE.gif"),
            raw);  // "æBLE.gif"
  EXPECT_TRUE(folder.FileExists("resource/gfx/?T?.gif")) << "one character each";
  EXPECT_TRUE(EqualsIgnoreCaseCp1252("\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8",
                                     "\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF"));
  EXPECT_FALSE(EqualsIgnoreCaseCp1252("\xC3\x97", "\xC3\xB7")) << "x and / are no letters";
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

TEST(GameFolder, LinksAreFollowedInsideTheFolderButALinkOutIsAsMissingAsNoFile) {
  TempDir outside;
  outside.Write("secret.gif", "gif");
  TempDir dir;
  auto inner = dir.Write("resource/gfx/door.gif", "gif");
  std::filesystem::create_directories(dir.path() / "resource/mmedia");
  std::filesystem::create_symlink(inner, dir.path() / "resource/gfx/alias.gif");
  std::filesystem::create_symlink(outside.path() / "secret.gif",
                                  dir.path() / "resource/gfx/out.gif");
  std::filesystem::create_directory_symlink(outside.path(), dir.path() / "resource/elsewhere");
  ASSERT_EQ(::mkfifo((dir.path() / "resource/mmedia/pipe.wav").c_str(), 0600), 0);
  GameFolder folder(dir.path());
  EXPECT_EQ(folder.Resolve("resource/gfx/ALIAS.GIF"), dir.path() / "resource/gfx/alias.gif");
  EXPECT_TRUE(folder.FileExists("resource/gfx/alias.gif"));
  for (const char* out :
       {"resource/gfx/out.gif", "resource/elsewhere/secret.gif", "resource/Elsewhere/none.gif"}) {
    EXPECT_EQ(qv::testing::VbErrorNumber([&] { folder.Resolve(out); }), kErrFileNotFound) << out;
    EXPECT_FALSE(folder.FileExists(out)) << out;
  }
  EXPECT_FALSE(folder.FileExists("resource/elsewhere/*")) << "nothing is listed out there";
  EXPECT_FALSE(folder.FileExists("resource/mmedia/pipe.wav")) << "a FIFO is no ordinary file";
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
