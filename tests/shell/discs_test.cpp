// Games on CDs: which CD is in the drive at start, and the CD a scene asks for.

#include <gtest/gtest.h>

#include "platform/disc.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

class Discs : public ShellTest {
 protected:
  // Four CDs: CD 1 holds scene 1, CDs 2 and 3 both hold scenes 2 to 3, CD 4 scene 4.
  void CdGame(int cd_mode, const std::string& labels = R"(["ONE", "TWO", "THREE", "FOUR"])") {
    Game(R"({"GameTitle": "Lighthouse", "CDModeEnabled": )" + std::to_string(cd_mode) +
             R"(, "CDLabel": )" + labels +
             R"(, "CDFirstScene": [1, 2, 2, 4], "CDLastScene": [1, 3, 3, 4]})",
         "[{}, {}, {}, {}, {}]");
  }
  std::string RunOn(const std::string& label, const std::string& script) {
    app::PlayerSettings settings;
    settings.cd_label = label;
    MakePlayer(settings);
    return RunScript(script);
  }
};

TEST_F(Discs, TheCdInTheDriveIsFoundByItsLabelAndTwoWithOneLabelGiveTheHigher) {
  CdGame(1, R"(["ONE", "SAME", "same", "FOUR"])");
  EXPECT_EQ(RunOn("Same", "expect scene 0\n"), "");
  EXPECT_EQ(player_->shell().CurrentCD, 3);
  EXPECT_TRUE(player_->shell().RunningFromCD());

  CdGame(1);
  EXPECT_EQ(RunOn("OTHER", "expect scene 0\n"),
            "walk.qvs:1: expect scene 0 not run: the player has ended\n");
  ASSERT_EQ(player_->messages().size(), 1u);
  EXPECT_EQ(player_->messages()[0].title, "Quorvex Engine");
  EXPECT_NE(player_->messages()[0].text.find("unable to determine which CD is inserted"),
            std::string::npos);
  EXPECT_TRUE(player_->shell().Exited()) << "the program ends at start-up";

  CdGame(1);
  EXPECT_EQ(Run("new-game\nscene 2\nexpect scene 2\n"), "") << "from a hard disk: never asked";
  EXPECT_EQ(player_->shell().CurrentCD, 0);
  EXPECT_TRUE(player_->messages().empty());
}

TEST_F(Discs, ASceneOnOtherCdsAsksForTheHigherOneUntilItIsInTheDrive) {
  CdGame(1);
  EXPECT_EQ(RunOn("ONE",
                  "new-game\nexpect scene 1\n"
                  "scene 3\n"
                  "expect message \"Please Insert CD #3.  Click OK after CD has spun down.\"\n"
                  "cd \"TWO\"\n"
                  "expect message \"Please Insert CD #3.\"\n"
                  "cd \"three\"\n"
                  "expect scene 3\n"
                  "scene 2\nexpect scene 2\n"),
            "");
  EXPECT_EQ(player_->shell().CurrentCD, 3);
  EXPECT_EQ(player_->messages().size(), 2u) << "a scene on the CD in the drive asks nothing";
  EXPECT_EQ(player_->messages()[0].title, "Lighthouse");
}

TEST_F(Discs, ASceneOnNoCdEndsTheGameInCdModeAndIsReadFromTheDriveOtherwise) {
  CdGame(1);
  EXPECT_EQ(RunOn("ONE", "new-game\nscene 5\nexpect scene 5\n"),
            "walk.qvs:3: expect scene 5 not run: the player has ended\n");
  ASSERT_EQ(player_->messages().size(), 1u);
  EXPECT_NE(player_->messages()[0].text.find("which CD is required for Scene #5.  Possible cause: "
                                             "Scene Resource setup was not done correcly."),
            std::string::npos);

  CdGame(0);
  EXPECT_EQ(RunOn("ONE", "new-game\nscene 5\nexpect scene 5\n"), "");
  EXPECT_TRUE(player_->messages().empty());
}

TEST(DiscLabels, UdevNamesAreUnescapedAndAnOrdinaryFolderIsNoDisc) {
  EXPECT_EQ(platform::UnescapeUdevLabel("GAME\\x20CD\\x2f1"), "GAME CD/1");
  EXPECT_EQ(platform::UnescapeUdevLabel("ODD\\x2"), "ODD\\x2");
  TempDir dir;
  EXPECT_FALSE(platform::FindDisc(dir.path()).has_value());
  EXPECT_FALSE(platform::FindDisc(dir.path() / "missing").has_value());
  EXPECT_TRUE(platform::IsDiscFileSystem("iso9660"));
  EXPECT_FALSE(platform::IsDiscFileSystem("ext4"));
}

}  // namespace
}  // namespace qv::testing
