// The save and load dialogs as a player uses them: the file list, the overwrite question,
// the messages for a missing name or choice, the buttons with their pictures and sounds,
// a broken file, and a player killed at any moment while saving.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <random>

#include "core/text.h"
#include "saves/save_dialogs.h"
#include "saves_fixture.h"

namespace qv::testing {
namespace {

using app::Player;

class SaveDialogs : public SavesTest {
 protected:
  saves::SaveDialogs::SaveWindow& SaveWindow() { return player_->save_dialogs().save_window(); }
  saves::SaveDialogs::LoadWindow& LoadWindow() { return player_->save_dialogs().load_window(); }
  // A command that clicks or points at a control of a dialog.
  void AddClick(std::string name, std::function<ui::Control&(Player&)> control, bool click = true) {
    AddCommand(std::move(name), [control, click](Player& p) {
      const auto at = app::PointOn(p, control(p));
      ASSERT_TRUE(at);
      if (click) {
        app::ClickOn(p, *at);
      } else {
        app::InjectMouse(p, platform::InputEvent::Kind::kMouseMove, *at);
      }
    });
  }
};

TEST_F(SaveDialogs, AnExistingFileIsWrittenOverOnlyWhenThePlayerSaysSo) {
  std::vector<std::string> texts;
  AddCommand("note", [&](Player& p) {
    texts.push_back(p.save_dialogs().save_window().Text1->Text() + " / " +
                    p.save_dialogs().save_window().Text2->Text());
  });
  AddCommand("choose first",
             [](Player& p) { p.save_dialogs().save_window().File1->SetListIndex(0); });
  AddClick("ok", [](Player& p) -> ui::Control& { return *p.save_dialogs().save_window().ButtnOK; });
  EXPECT_EQ(Run("new-game\nclick button save\nnote\nsave \"mine\" \"  First try  \"\n"
                "click button save\nchoose first\nnote\nanswer no\nok\n"
                "expect message \"The file 'mine.sav' already exists.\"\n"
                "answer no\nsave \"mine.sav\" \"Second\"\n"
                "answer yes\nsave \"mine\" \"Third\"\n"),
            "");
  EXPECT_EQ(texts,
            (std::vector<std::string>{"Filename / Game Description", "mine.sav / First try"}))
      << "a chosen file brings its name and trimmed description";
  const auto& boxes = player_->messages();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].title, "Saves");
  EXPECT_EQ(boxes[0].text, "The file 'mine.sav' already exists.\rWrite over it?");
  EXPECT_EQ(boxes[0].buttons, BoxButtons::kYesNo);
  EXPECT_EQ(Window(), "Main") << "closed by the save that was written";
  EXPECT_EQ(data::TableText(ReadSave("mine.sav").Description), "Third");
  EXPECT_EQ(ReadSave("mine.sav").Description.size(), 50u);
  EXPECT_EQ(SavedFiles(), (std::vector<std::string>{"mine.sav"})) << "no temporary is left";
}

TEST_F(SaveDialogs, AMissingNameOrChoiceShowsTheMessageForASecond) {
  std::vector<bool> shown;
  AddCommand("label",
             [&](Player& p) { shown.push_back(p.save_dialogs().save_window().Label1->Visible()); });
  AddCommand("label4",
             [&](Player& p) { shown.push_back(p.save_dialogs().load_window().Label4->Visible()); });
  AddClick("load ok",
           [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().ButtnOK; });
  AddClick("load cancel",
           [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().ButtnC; });
  AddClick("save cancel",
           [](Player& p) -> ui::Control& { return *p.save_dialogs().save_window().ButtnC; });
  EXPECT_EQ(Run("new-game\nsave \"\" \"x\"\nlabel\nwait 1000\nlabel\nsave \"FileName\" \"x\"\n"
                "label\nsave cancel\nclick button mainmenu\nquit yes\nmenu load\nload ok\n"
                "label4\nwait 1000\nlabel4\nload cancel\n"),
            "");
  EXPECT_EQ(shown, (std::vector<bool>{true, false, true, true, false}));
  EXPECT_EQ(SaveWindow().Label1->Caption(), "Please enter a filename!");
  EXPECT_EQ(LoadWindow().Label4->Caption(), "Please choose a file!");
  EXPECT_FALSE(std::filesystem::exists(Saved("FileName.sav")));
  EXPECT_EQ(Window(), "MainMenu");
}

TEST_F(SaveDialogs, CancelInTheLoadDialogKeepsTheMenuAndItsMusic) {
  WriteSave("zeta.sav", Record());
  data::SavedGameRecord other = Record();
  other.Description = "   Alpha game" + std::string(37, ' ');
  WriteSave("Alpha.sav", other);
  dir_.Write("Saved/notes.txt", "not a save");
  std::vector<std::string> seen;
  AddCommand("choose zeta", [&](Player& p) {
    auto& w = p.save_dialogs().load_window();
    for (int i = 0; i < w.File1->ListCount(); ++i)
      seen.push_back(w.File1->List(i));
    w.File1->SetListIndex(1);
    seen.push_back(w.Label1->Caption() + "|" + w.Label2->Caption() + "|" + w.Label3->Caption());
  });
  AddClick("cancel",
           [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().ButtnC; });
  EXPECT_EQ(Run("expect sound 11 \"menu.wav\"\nmenu load\nchoose zeta\ncancel\n"
                "expect sound 11 \"menu.wav\"\nexpect scene 0\n"),
            "");
  EXPECT_EQ(seen, (std::vector<std::string>{"Alpha.sav", "zeta.sav",
                                            "A saved game|12-07-2026|02:35 PM"}));
  EXPECT_EQ(Window(), "MainMenu");
  EXPECT_EQ(Plays(11, "menu.wav"), 1) << "the menu's music plays on, not again";
  EXPECT_EQ(Plays(18, "click.wav"), 2) << "the menu's button, then Cancel";
  EXPECT_FALSE(player_->shell().MenuBusy);
}

TEST_F(SaveDialogs, ButtonsLightUpWithTheirSoundOncePerEntry) {
  std::vector<std::string> seen;
  AddCommand("look", [&](Player& p) {
    auto& w = p.save_dialogs().load_window();
    const auto& ok = p.shell().OK_Resource;
    const auto& cancel = p.shell().Cancel_Resource;
    seen.push_back(std::to_string(p.screen().LastHoverButton) +
                   (w.ButtnOK->Picture() == ok->FramePicture(0) ? " OK lit" : " OK") +
                   (w.ButtnC->Picture() == cancel->FramePicture(0) ? " C lit" : " C"));
  });
  auto ok = [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().ButtnOK; };
  auto cancel = [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().ButtnC; };
  auto list = [](Player& p) -> ui::Control& { return *p.save_dialogs().load_window().File1; };
  AddClick("over ok", ok, false);
  AddClick("over cancel", cancel, false);
  AddClick("over list", list, false);
  AddClick("cancel", cancel);
  EXPECT_EQ(Run("menu load\nlook\nover ok\nlook\nover ok\nover cancel\nlook\nover list\nlook\n"
                "over cancel\ncancel\n"),
            "");
  EXPECT_EQ(seen, (std::vector<std::string>{"3 OK C", "99 OK lit C", "98 OK C lit", "97 OK C"}));
  EXPECT_EQ(Plays(18, "hover.wav"), 4) << "the menu's button, OK, Cancel, Cancel again";
}

TEST_F(SaveDialogs, ABrokenFileLeavesTheDialogOpenAndOkTwiceLoadsOnce) {
  auto bytes = data::EncodeRecord(Record());
  dir_.Write("Saved/broken.sav", std::string(bytes.begin(), bytes.begin() + 1112));
  WriteSave("good.sav", Record());
  uint64_t loads = 0;
  AddCommand("twice", [&](Player& p) {
    auto& w = p.save_dialogs().load_window();
    w.File1->SetListIndex(1);
    loads = p.engine().SceneLoadsStarted();
    p.save_dialogs().LoadOkClick();
    p.save_dialogs().LoadOkClick();
    loads = p.engine().SceneLoadsStarted() - loads;
  });
  AddCommand("short header", [](Player& p) {
    auto& w = p.save_dialogs().load_window();
    EXPECT_EQ(w.Label3->Caption(), "02:35 PM") << "a short file still shows what it has";
  });
  EXPECT_EQ(Run("menu load\nload \"broken\"\nshort header\n"
                "expect message \"Error #63: Bad record number\"\n"
                "expect sound 11 \"menu.wav\"\ntwice\nexpect scene 2\nexpect inventory 2 6\n"),
            "");
  ASSERT_EQ(player_->messages().size(), 1u);
  EXPECT_EQ(player_->messages()[0].text,
            "Unexpected error in procedure: ButtnOK_Click\r\nError #63: Bad record number");
  EXPECT_EQ(loads, 1u);
  EXPECT_EQ(Window(), "Main");
}

TEST_F(SaveDialogs, AReadOnlyGamesOwnSavesAreListedBesideThePlayersOwn) {
  TempDir user;
  dir_.Write("own/a.sav", "");
  dir_.Write("own/B.sav", "");
  dir_.Write("own/c.sav", "");
  dir_.Write("own/.c.sav.AbC123", "");
  dir_.Write("user/b.sav", "");
  dir_.Write("user/d.sav", "");
  saves::SavedFileList list("File1");
  list.SetPattern("*.sav");
  list.SetPath(dir_.path() / "user");
  list.RefreshWith(dir_.path() / "own");
  std::vector<std::string> names;
  for (int i = 0; i < list.ListCount(); ++i)
    names.push_back(list.List(i));
  EXPECT_EQ(names, (std::vector<std::string>{"a.sav", "b.sav", "c.sav", "d.sav"}))
      << "a name in both folders once, the player's own";
}

// The player is killed (SIGKILL) at a random moment while it writes over a save, again
// and again: every time the folder holds the old save or the new one, whole, and the
// dialog lists nothing else.
TEST_F(SaveDialogs, KilledWhileSavingLeavesTheOldOrTheNewSave) {
  AddCommand("killing", [](Player& p) {
    saves::SavedGames& games = p.saved_games();
    std::mt19937 random(2026);
    int generation = 0;
    for (int round = 0; round < 200; ++round) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        // Writes generation + 1 over and over (answering Yes to the overwrite question),
        // as fast as it can, until it is killed.
        try {
          for (;;) {
            std::string name = "slot";
            games.SaveGameFile(name, "generation " + std::to_string(generation + 1));
          }
        } catch (...) {
        }
        _exit(3);
      }
      const timespec pause{0, static_cast<long>(random() % 2000000)};
      nanosleep(&pause, nullptr);
      kill(child, SIGKILL);
      int status = 0;
      waitpid(child, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status));
      const auto record = games.ReadSavedGame("slot.sav");
      const std::string description(qv::TrimBlanks(record.Description));
      ASSERT_TRUE(description == "generation " + std::to_string(generation) ||
                  description == "generation " + std::to_string(generation + 1))
          << description << " in round " << round;
      if (description != "generation " + std::to_string(generation)) ++generation;
      saves::SavedFileList list("File1");
      list.SetPattern("*.sav");
      list.SetPath(games.SavedFolder());
      ASSERT_EQ(list.ListCount(), 1);
      ASSERT_EQ(list.List(0), "slot.sav");
      int temporaries = 0;
      for (const auto& entry : std::filesystem::directory_iterator(games.SavedFolder()))
        temporaries += entry.path().filename() != "slot.sav";
      ASSERT_LE(temporaries, 1) << "the next save removes what a killed one left";
    }
    EXPECT_GT(generation, 0) << "some saves got through";
  });
  EXPECT_EQ(Run("new-game\nsave \"slot\" \"generation 0\"\nanswer yes\nkilling\n"), "");
}

}  // namespace
}  // namespace qv::testing
