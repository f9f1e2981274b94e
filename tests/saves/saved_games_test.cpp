// Saved games: the 1113-byte file field by field, the names a player may type, restoring
// a game (inventory squeezed, delays restarted), and files or disks that go wrong.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <random>

#include "saves/saved_games.h"
#include "saves_fixture.h"

namespace qv::testing {
namespace {

using saves::SaveFileName;
using saves::SaveNameProblem;

TEST(SaveNames, TheDotRuleAndTheNamesRefused) {
  EXPECT_EQ(SaveFileName("mygame.sav"), "mygame.sav");
  EXPECT_EQ(SaveFileName("mygame"), "mygame.sav");
  EXPECT_EQ(SaveFileName("my.game"), "my..sav");
  EXPECT_EQ(SaveFileName("Fjörd Ø"), "Fjörd Ø.sav");
  for (const char* fine : {"mygame", "my.game", "Chapter 2", "Fjörd", "con game", "a.b.c.d"})
    EXPECT_EQ(SaveNameProblem(fine), "") << fine;
  const std::string nul("a\0b", 3);
  for (const std::string& bad :
       {std::string("../up"), std::string("a/b"), std::string("a\\b"), std::string(".."),
        std::string(".hidden"), nul, std::string("tab\there"), std::string("C:x"),
        std::string("what?"), std::string("CON"), std::string("nul.txt.sav"), std::string("Com1"),
        std::string("lpt9 "), std::string("a.b"), std::string("日本"), std::string(300, 'x')}) {
    EXPECT_NE(SaveNameProblem(bad), "") << bad;
  }
}

class SavedGames : public SavesTest {
 protected:
  saves::SavedGames& Games() { return player_->saved_games(); }
};

TEST_F(SavedGames, TheFileHoldsEveryFieldAtItsOffsetAndRestoresWhole) {
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
  const std::vector<uint8_t> b = ReadBytes(Saved("first.sav"));
  ASSERT_EQ(b.size(), 1113u);
  auto text = [&](int at, int width) {
    return std::string(b.begin() + at, b.begin() + at + width);
  };
  auto word = [&](int at) { return static_cast<int16_t>(b[at] | (b[at + 1] << 8)); };
  EXPECT_EQ(text(0, 50), "In the cellar" + std::string(37, ' '));
  EXPECT_EQ(text(50, 10), "03-04-2026");
  EXPECT_EQ(text(60, 10), "02:35 PM  ");
  EXPECT_EQ(text(70, 15), "theme.mid      ");
  EXPECT_EQ(b[85] | b[86] << 8 | b[87] << 16 | b[88] << 24, -1200);
  EXPECT_EQ(word(89), 3);
  EXPECT_EQ(word(91), 7) << "flag 1";
  EXPECT_EQ(word(91 + 2 * 254), -2) << "flag 255";
  EXPECT_EQ(word(601 + 2 * 2), 1) << "delay 3 running";
  EXPECT_EQ(word(641 + 2 * 2), 40);
  EXPECT_EQ(word(681 + 2 * 2), 9);
  EXPECT_EQ(word(721 + 2 * 2), -7);
  EXPECT_EQ(word(761 + 2 * 2), 1);
  EXPECT_EQ((std::vector<int16_t>{word(801), word(803), word(805), word(807), word(809)}),
            (std::vector<int16_t>{1, 2, 3, 5, 0}));
  EXPECT_EQ(word(833 + 2), 1) << "location 2";
  EXPECT_EQ(text(873, 200), std::string(200, ' '));
  EXPECT_EQ(text(1073, 40), std::string(40, '\0'));
}

TEST_F(SavedGames, RestoreSqueezesTheInventoryAndRestartsDelaysRounded) {
  data::SavedGameRecord r = Record();
  r.Inventory = {5, 0, 7};
  r.TimerRunning[0] = 1;
  r.DelaySecs[0] = 1500;
  r.DelayFlag[0] = 20;
  r.DelayValue[0] = 1;
  r.TimerRunning[1] = 1;
  r.DelaySecs[1] = 2500;
  r.DelayFlag[1] = 21;
  r.DelayValue[1] = 1;
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
  // Random records of the right length: a box or a game, never anything else.
  std::mt19937 random(15);
  for (int n = 0; n < 20; ++n) {
    std::string noise(1113, '\0');
    for (char& c : noise)
      c = static_cast<char>(random());
    dir_.Write("Saved/noise.sav", noise);
    const int error = VbErrorNumber([&] { Games().LoadSavedGame("noise.sav"); });
    EXPECT_TRUE(error == 0 || error == 63 || error == 9 || error == 5) << error;
  }
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

}  // namespace
}  // namespace qv::testing
