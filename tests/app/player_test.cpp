// A Player on the headless backend, driven by scripts as the quorvex-player program
// drives it.

#include "app/player.h"

#include <gtest/gtest.h>

#include "app/state_json.h"
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

  // A command for tests: runs `body` as the scripted user's action.
  void AddCommand(std::string name, std::function<void(Player&)> body) {
    table_.Add({std::move(name), {}, [body](ScriptContext& c, const ScriptCommand&) {
                  body(c.player());
                }});
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
  std::vector<std::string> texts;
  for (const auto& box : player.messages())
    texts.push_back(box.text);
  const std::string tail = "\r\nError #75: Path/File access error";
  EXPECT_EQ(texts,
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

TEST_F(PlayerTest, AStartedGameHasItsRecordsCountedAndTheStateJsonRecordsIt) {
  Player& player = MakePlayer();
  player.Start();
  EXPECT_TRUE(player.messages().empty());
  EXPECT_EQ(player.scene_data().SceneCount, 2);
  EXPECT_TRUE(player.scene_data().ReadGeneral().has_value()) << "the settings file is open";
  player.LogLine("Flag # 3 set to 1");
  player.boxes().Show("Quorvex Player", "a\r\nb\nc", BoxButtons::kOk, BoxIcon::kCritical);

  player.scene_data().ReadScene(2);
  auto state = StateJson(player);
  std::vector<std::string> keys;
  for (const auto& [key, value] : state.items())
    keys.push_back(key);
  EXPECT_EQ(keys,
            (std::vector<std::string>{"scene", "flags", "inventory", "hand", "map", "soundtrack",
                                      "channels", "visible", "conversation", "cursor", "log",
                                      "messages", "window", "score", "movie", "exited"}));
  EXPECT_EQ(state["scene"], 2);
  EXPECT_EQ(state["log"], nlohmann::ordered_json::array(
                              {"Display 800 x 600: left as it is.", "Flag # 3 set to 1"}));
  EXPECT_EQ(state["window"], "MainMenu");
  EXPECT_EQ(state["score"],
            (nlohmann::ordered_json{{"current", "0"}, {"max", "0"}, {"shown", "none"}}));
  EXPECT_EQ(state["exited"], false);
  EXPECT_EQ(state["messages"][0]["text"], "a\r\nb\nc") << "the exact text";
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
