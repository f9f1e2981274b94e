// Saved games: the 1113-byte file, the names a player may type, restoring a game
// (inventory squeezed, delays restarted), and files or disks that go wrong. The save and
// load dialogs as a player uses them: the file list, the overwrite question, the messages
// for a missing name or choice, the buttons with their pictures and sounds, a broken
// file, and a player killed at any moment while saving.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <csignal>
#include <random>

#include "core/text.h"
#include "saves/save_dialogs.h"
#include "saves/saved_games.h"
#include "saves_fixture.h"

namespace qv::testing {
namespace {

using app::Player;
using saves::SaveFileName;
using saves::SaveNameProblem;

TEST(SaveNames, TheDotRuleAndTheNamesRefused) {
  EXPECT_EQ(SaveFileName("mygame.sav"), "mygame.sav");
  EXPECT_EQ(SaveFileName("mygame"), "mygame.sav");
  EXPECT_EQ(SaveFileName("my.game"), "my..sav");
  EXPECT_EQ(SaveFileName("Fjörd Ø"), "Fjörd Ø.sav");
  for (const char* fine : {"mygame", "my.game", "Chapter 2", "Fjörd", "con game", "a.b.c.d"})
    EXPECT_EQ(SaveNameProblem(fine), "") << fine;
  for (const char* bad : {"../up", "a/b", "a\\b", "..", ".hidden", "tab\there", "C:x", "what?",
                          "CON", "nul.txt.sav", "Com1", "lpt9 ", "a.b", "日本"}) {
    EXPECT_NE(SaveNameProblem(bad), "") << bad;
  }
  EXPECT_NE(SaveNameProblem(std::string("a\0b", 3)), "");
  EXPECT_NE(SaveNameProblem(std::string(300, 'x')), "");
}

class SavedGames : public SavesTest {
 protected:
  saves::SavedGames& Games() { return player_->saved_games(); }
};

TEST_F(SavedGames, TheFileHoldsTheWholeGameAndRestoresIt) {
  AddCommand("state", [](app::Player& p) {
    p.saved_games().clock = [] { return platform::LocalTime{2026, 3, 4, 14, 35, 0}; };
    p.music().CurrentSoundtrack = "theme.mid";
    p.music().CurrentSoundtrackVolume = -1200;
    p.delays().DelaySecs[3] = 40;
    p.delays().DelayFlag[3] = 9;
    p.delays().DelayValue[3] = -7;
    p.delays().DelayOp[3] = 1;
    p.delays().TimerRunning[3] = 1;
    p.map().LocOnMap[2] = 1;
  });
  // Saved, then back through the menu: the whole game returns.
  EXPECT_EQ(Run("new-game\nscene 3\nset-flag 1 7\nset-flag 255 -2\ngive 5\nstate\n"
                "save \"first\" \"In the cellar\"\nexpect scene 3\n"
                "click button mainmenu\nquit yes\nexpect scene 0\nload \"first\"\n"
                "expect scene 3\nexpect flag 1 = 7\nexpect flag 255 = -2\n"
                "expect inventory 1 2 3 5\nexpect soundtrack \"theme.mid\"\n"
                "expect log \"Starting Delay 3 from saved game...\"\n"
                "expect log \"Delay 3 started. (40 secs)\"\n"),
            "");
  EXPECT_EQ(Window(), "Main");
  EXPECT_EQ(player_->delays().DelayFlag[3], 9);
  EXPECT_EQ(player_->map().LocOnMap[2], 1);
  EXPECT_EQ(player_->delays().DelayValue[3], -7);
  ASSERT_EQ(ReadBytes(Saved("first.sav")).size(), 1113u);
  const data::SavedGameRecord r = ReadSave("first.sav");
  EXPECT_EQ(r.Description, "In the cellar" + std::string(37, ' '));
  EXPECT_EQ(r.SaveDate + "|" + r.SaveTime + "|" + r.TrackName,
            "03-04-2026|02:35 PM  |theme.mid      ");
  EXPECT_EQ(r.TrackVolume, -1200);
  EXPECT_EQ(r.DelayOp[2], 1);
  EXPECT_EQ(r.Reserved1[9], std::string(20, ' '));
}

TEST_F(SavedGames, RestoreSqueezesTheInventoryAndRestartsDelaysRounded) {
  data::SavedGameRecord r = Record();
  r.Inventory = {5, 0, 7};
  for (int k : {0, 1}) {  // running for 1.5 and 2.5 s, then adding 1 to flags 20 and 21
    r.TimerRunning[k] = r.DelayValue[k] = 1;
    r.DelaySecs[k] = static_cast<int16_t>(1500 + 1000 * k);
    r.DelayFlag[k] = static_cast<int16_t>(20 + k);
  }
  r.DelaySecs[2] = 30;  // not running
  r.Reserved1[4] = "carried over text   ";
  r.Reserved2[19] = 77;
  WriteSave("old.sav", r);
  std::vector<int32_t> durations;
  AddCommand("durations", [&](app::Player& p) {
    for (int k = 1; k <= 3; ++k)
      durations.push_back(p.delays().countdown(k).Enabled() ? p.delays().countdown(k).Duration()
                                                            : 0);
  });
  EXPECT_EQ(Run("load \"old\"\ndurations\nexpect inventory 5 7\nexpect scene 2\nexpect flag 4 = 9\n"
                "expect log \"Starting Delay 1 from saved game...\"\n"
                "expect log \"Delay 1 started. (2 secs)\"\n"
                "expect log \"Starting Delay 2 from saved game...\"\n"
                "expect log \"Delay 2 started. (2 secs)\"\n"
                "expect no-log \"Starting Delay 3 from saved game...\"\n"
                "wait 2000\nexpect flag 20 = 1\nexpect flag 21 = 1\n"
                "save \"again\" \"x\"\n"),
            "");
  EXPECT_EQ(durations, (std::vector<int32_t>{2000, 2000, 0}));
  EXPECT_EQ(player_->inventory().ItemsHeld, 2);
  EXPECT_EQ(player_->delays().DelaySecs[1], 2) << "1.5 rounds to 2";
  EXPECT_EQ(player_->delays().DelaySecs[2], 2) << "2.5 rounds to 2 as well";
  EXPECT_FALSE(player_->shell().MainMenu().Shown());
  // The reserved fields go back out as they came in.
  EXPECT_EQ(ReadSave("again.sav").Reserved1[4], "carried over text   ");
  EXPECT_EQ(ReadSave("again.sav").Reserved2[19], 77);
  EXPECT_EQ(ReadSave("again.sav").Inventory[1], 7);
}

TEST_F(SavedGames, ABrokenSaveRaisesBeforeAnythingOfTheGameChanges) {
  MakePlayer();
  EXPECT_EQ(RunScript("new-game\nscene 3\nset-flag 4 1\n"), "");
  auto bytes = data::EncodeRecord(Record());
  dir_.Write("Saved/empty.sav", "");
  dir_.Write("Saved/short.sav", std::string(bytes.begin(), bytes.end() - 1));
  dir_.Write("Saved/long.sav", std::string(bytes.begin(), bytes.end()) + "garbage!");
  struct Bad {
    const char* name;
    std::function<void(data::SavedGameRecord&)> spoil;
    int error;
  };
  const std::vector<Bad> bad = {
      {"scene0", [](auto& r) { r.Scene = 0; }, 63},
      {"scene32767", [](auto& r) { r.Scene = 32767; }, 63},
      {"item9", [](auto& r) { r.Inventory[15] = 9; }, 63},
      {"item-1", [](auto& r) { r.Inventory[3] = -1; }, 63},
      {"negative delay", [](auto& r) { r.TimerRunning[4] = 1, r.DelaySecs[4] = -5; }, 5},
      {"delay flag 256", [](auto& r) { r.TimerRunning[4] = 1, r.DelayFlag[4] = 256; }, 9},
  };
  for (const Bad& b : bad) {
    data::SavedGameRecord r = Record();
    b.spoil(r);
    WriteSave(std::string(b.name) + ".sav", r);
  }
  auto untouched = [&](const std::string& what) {
    EXPECT_EQ(player_->scene_data().scene.CurrentScene, 3) << what;
    EXPECT_EQ(player_->engine().state.Flags[4], 1) << what;
    EXPECT_EQ(player_->inventory().ItemsHeld, 3) << what;
  };
  for (const char* name : {"empty.sav", "short.sav"}) {
    EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame(name); }), 63) << name;
    untouched(name);
  }
  EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame("missing.sav"); }), 53);
  EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame("../Saved/long.sav"); }), 52);
  for (const Bad& b : bad) {
    EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame(std::string(b.name) + ".sav"); }), b.error)
        << b.name;
    untouched(b.name);
  }
  // Flags of every value and anything after the record are no reason to refuse.
  data::SavedGameRecord every = Record();
  for (size_t k = 0; k < every.Flags.size(); ++k)
    every.Flags[k] = static_cast<int16_t>(-32768 + 257 * static_cast<int>(k));
  WriteSave("every.sav", every);
  EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame("every.sav"); }), 0);
  EXPECT_EQ(player_->engine().state.Flags[255], every.Flags[254]);
  EXPECT_EQ(VbErrorNumber([&] { Games().LoadSavedGame("long.sav"); }), 0);
  EXPECT_EQ(player_->scene_data().scene.CurrentScene, 2);
}

TEST_F(SavedGames, AFailedWriteKeepsTheOldSaveAndLeavesNoTemporary) {
  // A full disk: writes beyond a few bytes fail (the file-size limit stands in for it).
  struct rlimit was {};
  getrlimit(RLIMIT_FSIZE, &was);
  void (*previous)(int) = SIG_DFL;
  AddCommand("disk full", [&](app::Player&) {
    previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = was;
    tiny.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &tiny);
  });
  AddCommand("disk free", [&](app::Player&) {
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, previous);
  });
  std::vector<uint8_t> old;
  AddCommand("old", [&](app::Player&) { old = ReadBytes(Saved("keep.sav")); });
  // A place that cannot take the file (a folder of that name).
  std::filesystem::create_directories(Saved("taken.sav"));
  EXPECT_EQ(Run("new-game\nsave \"keep\" \"old one\"\nold\nclick button save\ndisk full\n"
                "answer yes\nsave \"keep\" \"new one\"\ndisk free\n"
                "expect message \"Error #61: Disk full\"\n"
                "answer yes\nsave \"taken\" \"x\"\n"
                "expect message \"Error #75: Path/File access error\"\n"),
            "");
  ASSERT_GE(player_->messages().size(), 2u);
  EXPECT_EQ(player_->messages()[1].text,
            "Unexpected error in procedure: ButtnOK_Click\r\nError #61: Disk full");
  EXPECT_EQ(Window(), "SaveGame") << "the dialog stays open";
  EXPECT_EQ(ReadBytes(Saved("keep.sav")), old);
  EXPECT_EQ(SavedFiles(), (std::vector<std::string>{"keep.sav", "taken.sav"}));
}

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

TEST_F(SaveDialogs, TheLoadDialogListsSavesLightsItsButtonsAndCancelKeepsTheMenuAndItsMusic) {
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
  EXPECT_EQ(Run("expect sound 11 \"menu.wav\"\nmenu load\nchoose zeta\nlook\nover ok\nlook\n"
                "over ok\nover cancel\nlook\nover list\nlook\nover cancel\ncancel\n"
                "expect sound 11 \"menu.wav\"\nexpect scene 0\n"),
            "");
  EXPECT_EQ(seen,
            (std::vector<std::string>{"Alpha.sav", "zeta.sav", "A saved game|12-07-2026|02:35 PM",
                                      "3 OK C", "99 OK lit C", "98 OK C lit", "97 OK C"}));
  EXPECT_EQ(Window(), "MainMenu");
  EXPECT_EQ(Plays(11, "menu.wav"), 1) << "the menu's music plays on, not again";
  EXPECT_EQ(Plays(18, "click.wav"), 2) << "the menu's button, then Cancel";
  EXPECT_EQ(Plays(18, "hover.wav"), 4) << "the menu's button, OK, Cancel, Cancel again";
  EXPECT_FALSE(player_->shell().MenuBusy);
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
// and again: every time the folder holds the old save or the new one, whole, and at most
// one temporary (which the dialog does not list).
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
