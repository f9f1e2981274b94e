// A Player on the headless backend, driven by scripts as the quorvex-player program
// drives it.

#include "app/player.h"

#include <gtest/gtest.h>

#include "app/walkthrough_fixture.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class PlayerTest : public WalkthroughTest {
 protected:
  PlayerTest() {
    qv::tools::BuildGame(qv::tools::ParseGameJson(R"({
      "General": [{"GameTitle": "Fixture"}],
      "Scenes": [{"ScenePicture": "a.bmp"}, {"ScenePicture": "b.bmp"}]
    })"),
                         dir_.path());
  }
};

TEST_F(PlayerTest, StartUpOpensTheFiveFilesInOrderAndGoesOnAfterFailures) {
  for (int n = 1; n <= 5; ++n) {
    auto file = dir_.path() / "resource" / ("Quorvex" + std::to_string(n) + ".dat");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);  // a folder where the file should be
  }
  Player& player = MakePlayer();
  player.Start();
  const std::string tail = "\r\nError #75: Path/File access error";
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"Unexpected error in procedure: GetInitData" + tail,
                                      "Unexpected error in procedure: OpenGenBase" + tail,
                                      "Unexpected error in procedure: OpenLocBase" + tail,
                                      "Unexpected error in procedure: OpenInvBase" + tail,
                                      "Unexpected error in procedure: OpenSceneBase" + tail,
                                      "Unexpected error in procedure: OpenConvBase" + tail}));
  EXPECT_EQ(player.messages()[0].title, "Quorvex Player");
  EXPECT_TRUE(player.shell().MainMenu().Visible()) << "start-up goes on to the menu";
}

TEST_F(PlayerTest, AnswersGoToTheNextBoxInOrder) {
  Player& player = MakePlayer();
  std::vector<BoxAnswer> answers;
  AddCommand("ask", [&](Player& p) {
    answers.push_back(p.boxes().Show("Game", "Quit?", BoxButtons::kYesNo, BoxIcon::kQuestion));
  });
  AddCommand("confirm", [&](Player& p) {
    answers.push_back(p.boxes().Show("Game", "Sure?", BoxButtons::kOkCancel, BoxIcon::kNone));
  });
  EXPECT_EQ(RunScript("answer no\nanswer cancel\nask\nconfirm\nask\n"
                      "answer cancel\nask   # not a button of a yes/no box: its first\n"),
            "");
  EXPECT_EQ(answers, (std::vector<BoxAnswer>{BoxAnswer::kNo, BoxAnswer::kCancel, BoxAnswer::kYes,
                                             BoxAnswer::kYes}));
  EXPECT_EQ(player.messages().at(1).answer, BoxAnswer::kCancel);
}

TEST_F(PlayerTest, ExpectMessageLooksAtTheBoxesSinceThePreviousOneAndAFailureStopsTheRun) {
  int after = 0;
  AddCommand("box-a",
             [](Player& p) { p.boxes().Show("T", "one\r\ntwo", BoxButtons::kOk, BoxIcon::kNone); });
  AddCommand("box-b",
             [](Player& p) { p.boxes().Show("T", "second", BoxButtons::kOk, BoxIcon::kNone); });
  AddCommand("after", [&](Player&) { ++after; });
  EXPECT_EQ(Run("box-a\nbox-b\nexpect message \"one\\r\\ntwo\"\n"), "")
      << "a text may hold line breaks";
  EXPECT_EQ(Run("expect message \"second\"\n"),
            "walk.qvs:1: expect message \"second\" failed\n"
            "  found: no message box was shown\n")
      << "a fresh run starts with no box";
  EXPECT_EQ(Run("box-a\nexpect message \"one\"\nexpect message \"one\"\nafter\n"),
            "walk.qvs:3: expect message \"one\" failed\n"
            "  found: no message box since the previous expect message\n");
  EXPECT_EQ(after, 0);
  EXPECT_EQ(Run("box-a\nbox-a\nexpect message \"three\"\n"),
            "walk.qvs:3: expect message \"three\" failed\n"
            "  found: [MessageBox] T: one\\r\\ntwo; [MessageBox] T: one\\r\\ntwo\n");
}

TEST_F(PlayerTest, AModalWindowThatOpensDuringAWaitGetsTheNextCommandAfterTheWait) {
  Player& player = MakePlayer();
  bool modal_open = false;
  // 300 ms after "arm", a timer opens a modal window that only the user closes.
  platform::Timer opener(player.loop().timers(), [&] {
    opener.SetEnabled(false);
    modal_open = true;
    player.loop().WaitForUser([&] { return !modal_open; }, "the modal window to close");
  });
  opener.SetInterval(300);
  int64_t armed_at = -1;
  AddCommand("arm", [&](Player& p) {
    armed_at = p.loop().NowMs();
    opener.SetEnabled(true);
  });
  int64_t closed_at = -1;
  int closed_in_depth = -1;
  AddCommand("close", [&](Player& p) {
    closed_at = p.loop().NowMs();
    closed_in_depth = p.loop().wait_depth();
    modal_open = false;
  });
  EXPECT_EQ(RunScript("arm\nwait 1000\nclose\n"), "");
  EXPECT_EQ(closed_at - armed_at, 1000) << "the user waits the whole time before acting";
  EXPECT_EQ(closed_in_depth, 2) << "inside the modal window's wait";
}

TEST_F(PlayerTest, ADeadlockEndsTheRunWithItsMessageAndWhere) {
  MakePlayer();
  AddCommand("stuck", [](Player& p) {
    p.loop().WaitUntil([] { return false; }, "a door that never opens");
  });
  const std::string report = RunScript("wait 5\nstuck\nwait 5\n");
  EXPECT_EQ(status_, 1);
  EXPECT_EQ(report.rfind("quorvex-player: Deadlock: waiting for a door that never opens", 0), 0u)
      << report;
  EXPECT_NE(report.find("(after walk.qvs:2 (stuck))"), std::string::npos) << report;
}

// A backend with a window, as far as the player can tell.
class WindowLikeBackend : public platform::HeadlessBackend {
 public:
  bool headless() const override { return false; }
  MessageBoxService& message_boxes() override { return real_boxes; }
  qv::testing::RecordingBoxes real_boxes;
};

TEST_F(PlayerTest, WithAWindowTheScriptAnswersInsteadOfAPerson) {
  auto backend = std::make_unique<WindowLikeBackend>();
  auto& real_boxes = backend->real_boxes;
  PlayerSettings scripted;
  scripted.scripted = true;
  Player player(std::move(backend), dir_.path(), scripted);
  player.QueueBoxAnswer(BoxAnswer::kNo);
  EXPECT_EQ(player.boxes().Show("T", "Quit?", BoxButtons::kYesNo, BoxIcon::kQuestion),
            BoxAnswer::kNo);
  EXPECT_EQ(player.boxes().Show("T", "Again?", BoxButtons::kYesNo, BoxIcon::kQuestion),
            BoxAnswer::kYes);
  EXPECT_TRUE(real_boxes.boxes.empty()) << "no box waits for a person";
  EXPECT_EQ(player.messages().size(), 2u);

  auto unscripted_backend = std::make_unique<WindowLikeBackend>();
  auto& shown = unscripted_backend->real_boxes;
  Player unscripted(std::move(unscripted_backend), dir_.path());
  unscripted.boxes().Show("T", "Hello", BoxButtons::kOk, BoxIcon::kNone);
  EXPECT_EQ(shown.boxes.size(), 1u) << "a person answers";
  EXPECT_EQ(unscripted.messages().size(), 1u);
}

}  // namespace
}  // namespace qv::app
