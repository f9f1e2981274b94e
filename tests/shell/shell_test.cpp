// The player as a whole, from start-up on: the general settings on every window, the
// main menu, a new game, the credits, the quit question, the exit screen and the exit.
// Games on CDs: which CD is in the drive at start, and the CD a scene asks for.

#include <gtest/gtest.h>

#include <filesystem>

#include "pictures/gif_writer.h"
#include "platform/disc.h"
#include "shell_fixture.h"

namespace qv::testing {
namespace {

using app::Player;
using app::ScriptCommand;
using app::ScriptContext;

using PlayerShell = ShellTest;

TEST_F(PlayerShell, TheSettingsApplyOnlyWhenTheFileIsExactly908Bytes) {
  Game(R"({"HoverSound": "hover.wav", "MenuButtonShown": [0, 1, 7, -1, 1],
           "HasScore": 1, "ScoreFlag": 4, "MaxScore": 100, "ScoreDisplay": 1})");
  EXPECT_EQ(Run("hover button 2\nhover button 2\nhover button 5\n"), "");
  shell::Shell& shell = player_->shell();
  EXPECT_FALSE(shell.Buttn[1]->Visible());
  for (int n : {2, 3, 4, 5})
    EXPECT_TRUE(shell.Buttn[n]->Visible()) << "1 shows, other values keep the design: " << n;
  EXPECT_EQ(Plays(18, "hover.wav"), 2) << "once per button the pointer comes onto";
  auto score = app::StateJson(*player_)["score"];
  EXPECT_EQ(score, (nlohmann::ordered_json{{"current", "0"}, {"max", "100"}, {"shown", "large"}}));

  const auto file = dir_.path() / "resource/Quorvex4.dat";
  const auto size = std::filesystem::file_size(file);
  for (auto wrong : {size - 1, size + 1}) {
    std::filesystem::resize_file(file, wrong);
    EXPECT_EQ(Run("hover button 2\n"), "");
    for (int n = 1; n <= 5; ++n)
      EXPECT_TRUE(player_->shell().Buttn[n]->Visible()) << wrong;
    EXPECT_EQ(Plays(18, "hover.wav"), 0) << "no sounds: " << wrong;
    EXPECT_EQ(app::StateJson(*player_)["score"]["shown"], "none");
    EXPECT_TRUE(player_->messages().empty());
  }
}

TEST_F(PlayerShell, TheScoreFollowsItsFlagOnlyInAGameWithAScore) {
  Game(R"({"HasScore": 1, "ScoreFlag": 4, "MaxScore": 100, "ScoreDisplay": 0})");
  EXPECT_EQ(Run("new-game\nset-flag 4 7\n"), "");
  auto score = app::StateJson(*player_)["score"];
  EXPECT_EQ(score, (nlohmann::ordered_json{{"current", "7"}, {"max", "100"}, {"shown", "small"}}));
  EXPECT_EQ(player_->screen().CurrScore_Large->Caption(), "7") << "both captions";

  Game(R"({"HasScore": 0, "ScoreFlag": 4, "MaxScore": 100, "ScoreDisplay": 0})");
  EXPECT_EQ(Run("new-game\nset-flag 4 7\n"), "");
  EXPECT_EQ(player_->engine().state.ScoreFlag, -1);
  score = app::StateJson(*player_)["score"];
  EXPECT_EQ(score["current"], "0") << "no flag updates the captions";
  EXPECT_EQ(score["shown"], "none");

  Game(R"({"HasScore": 1, "ScoreFlag": 4, "MaxScore": 0, "ScoreDisplay": 1})");
  EXPECT_EQ(Run(""), "");
  const screen::GameScreen& screen = player_->screen();
  EXPECT_FALSE(screen.MaxScore_Large->Visible()) << "a game without a maximum: a narrower box";
  EXPECT_LT(screen.LargeScore->Width(), screen.SmallScore->Width());
}

TEST_F(PlayerShell, MenuHoverSoundsPlayOncePerEntryAndClicksActAfterThePause) {
  Game(R"({"HoverSound": "hover.wav", "ClickSound": "click.wav", "ClickVolume": -100})");
  AddCommand("hover background", [](Player& p) {
    app::InjectMouse(p, platform::InputEvent::Kind::kMouseMove, {3, 3});
  });
  int64_t clicked = 0, scene_at = 0;
  AddCommand("mark", [&](Player& p) { clicked = p.loop().NowMs(); });
  AddCommand("scene time", [&](Player& p) { scene_at = p.loop().NowMs(); });
  EXPECT_EQ(Run("hover button 1\nhover button 1\nhover background\nhover button 1\n"
                "hover button 4\nmark\nnew-game\nscene time\nexpect scene 1\n"),
            "");
  EXPECT_EQ(Plays(18, "hover.wav"), 4)
      << "again after the background, for another button, and for the New Game clicked";
  EXPECT_EQ(Plays(18, "click.wav"), 1);
  EXPECT_GE(scene_at - clicked, shell::Shell::kPauseMs) << "0.7 s after the click";
  EXPECT_EQ(Window(), "Main");
}

TEST_F(PlayerShell, MenuMusicByItsExtensionStopsForTheGameAndComesBackAfterIt) {
  Game(R"({"MenuMusic": "menu.wav", "MenuMusicVolume": -300})");
  EXPECT_EQ(Run("expect sound 11 \"menu.wav\"\nnew-game\nexpect silent 11\n"
                "click button mainmenu\nquit yes\nexpect sound 11 \"menu.wav\"\n"),
            "");

  Game(R"({"MenuMusic": "menu.mid"})");
  EXPECT_EQ(Run("expect silent 11\n"), "");
  EXPECT_EQ(std::count(Audio().calls().begin(), Audio().calls().end(),
                       "PlayMusic(MIDI, menu.mid, 0, True)"),
            1);
  Game(R"({"MenuMusic": "menu.ogg"})");
  EXPECT_EQ(Run(""), "");
  EXPECT_TRUE(Audio().calls().empty()) << "another extension plays nothing";
}

TEST_F(PlayerShell, SavingNotAllowedDisablesTheLoadAndSaveButtons) {
  Game(R"({"SavingAllowed": 0, "SaveButtonShown": 1, "MainMenuButtonShown": 1})");
  std::vector<std::string> windows;
  AddCommand("window", [&](Player&) { windows.push_back(Window()); });
  EXPECT_EQ(Run("menu load\nwindow\nnew-game\nclick button save\nwindow\n"), "");
  EXPECT_FALSE(player_->shell().Buttn[3]->Enabled());
  EXPECT_FALSE(player_->screen().SaveGameButtn->Enabled());
  EXPECT_EQ(windows, (std::vector<std::string>{"MainMenu", "Main"}))
      << "a disabled button does nothing";
}

TEST_F(PlayerShell, CreditsRunTheCreditsSceneOrLeaveTheMenuIdle) {
  Game(R"({"CreditsScene": 0, "MainMenuButtonShown": 1})");
  EXPECT_EQ(Run("menu credits\nexpect scene 0\n"), "");
  EXPECT_EQ(Window(), "MainMenu");
  EXPECT_FALSE(player_->shell().MenuBusy) << "the menu takes clicks again";

  Game(R"({"CreditsScene": 3, "MainMenuButtonShown": 1, "InventoryShown": 1})");
  std::string during;
  AddCommand("note", [&](Player& p) { during = app::StateJson(p)["window"]; });
  EXPECT_EQ(Run("menu credits\nexpect scene 3\nclick button mainmenu\nnote\nexpect scene 0\n"
                "new-game\nexpect scene 1\n"),
            "");
  EXPECT_EQ(during, "MainMenu") << "after the credits no question: back to the menu";
  EXPECT_TRUE(player_->screen().InvBar->Visible());
  EXPECT_TRUE(player_->screen().InvBar->Enabled()) << "the bar works again in a new game";

  Game(R"({"CreditsScene": 40, "MainMenuButtonShown": 1})");
  EXPECT_EQ(Run("menu credits\nclick button mainmenu\nexpect scene 0\n"), "")
      << "a credits scene outside the scene file";
}

// Quit No and Yes the demo game's menu tour tries; here what Yes resets.
TEST_F(PlayerShell, QuitYesResetsTheGame) {
  Game(R"({"MainMenuButtonShown": 1, "HasScore": 1, "ScoreFlag": 4, "ScoreDisplay": 0})");
  EXPECT_EQ(Run("new-game\nset-flag 4 9\nset-flag 5 2\nclick button mainmenu\nquit yes\n"
                "expect flag 5 = 0\nnew-game\nexpect flag 4 = 0\nexpect flag 5 = 0\n",
                /*verbose=*/false),
            "");
  EXPECT_EQ(player_->screen().CurrScore_Small->Caption(), "0");
  EXPECT_EQ(player_->screen().CurrScore_Large->Caption(), "0");
}

TEST_F(PlayerShell, TheExitScreensButtonComesAfterItsTimerAndAloneEndsTheProgram) {
  Game(R"({"ExitPictureOn": 1, "ExitPictureName": "bye.bmp"})");
  dir_.Write("resource/gfx/bye.bmp", SolidGif(300, 200));
  bool shown_at_once = true;
  AddCommand("exit screen", [&](Player& p) {
    p.shell().ShowExitScreen();
    shown_at_once = p.shell().Command1->Visible();
  });
  EXPECT_EQ(Run("exit screen\nwait 1000\nexpect scene 0\nclick button exit\n"), "");
  EXPECT_FALSE(shown_at_once);
  EXPECT_TRUE(player_->shell().Exited());

  std::filesystem::remove(dir_.path() / "resource/gfx/bye.bmp");
  EXPECT_EQ(Run("menu close\nclick button exit\n"), "") << "a missing picture: the button comes";
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{
                "Unexpected error in procedure: Form_Load\r\nError #53: File not found"}));
}

TEST_F(PlayerShell, ClosingTheWindowReleasesEverythingAndWarnsWhenTheMusicWillNotStop) {
  Game(R"({"MenuMusic": "menu.mp3"})");
  dir_.Write("resource/mmedia/menu.mp3", ToneMp3());
  AddCommand("break music", [this](Player&) {
    Audio().on_call = [](const std::string& call) {
      if (call == "ReleaseMusic()") throw std::runtime_error("stuck");
    };
  });
  AddCommand("close window", [](Player& p) {
    p.backend().InjectInput({.kind = platform::InputEvent::Kind::kQuit, .text = {}});
  });
  EXPECT_EQ(Run("break music\nclose window\n"), "");
  ASSERT_EQ(player_->messages().size(), 1u);
  EXPECT_EQ(player_->messages()[0].title, "Warning");
  EXPECT_EQ(player_->messages()[0].text, "Unable to Terminate DirectShow Engine Successfully.");
  for (const ui::Form* form : player_->desktop().Forms())
    EXPECT_FALSE(form->Visible()) << form->name();
  auto state = app::StateJson(*player_);
  EXPECT_EQ(state["exited"], true);
  EXPECT_EQ(state["window"], "");

  EXPECT_EQ(Run("menu close\nexpect scene 0\n"),
            "walk.qvs:2: expect scene 0 not run: the player has ended\n");
  EXPECT_EQ(status_, 1);
}

TEST_F(PlayerShell, TheDisplayIsSwitchedAsTheDesktopSizeDecidesAndRestoredAtTheExit) {
  struct Case {
    int w, h;
    int force;
    bool switched;
  };
  for (Case c : {Case{640, 480, 0, true}, Case{1024, 768, 0, false}, Case{1024, 768, 1, true},
                 Case{800, 600, 1, false}}) {
    Game(R"({"Force800x600": )" + std::to_string(c.force) + "}");
    platform::HeadlessConfig config;
    config.screen_width = c.w;
    config.screen_height = c.h;
    player_.emplace(std::make_unique<platform::HeadlessBackend>(config), dir_.path());
    bool during = false;
    AddCommand("note", [&](Player& p) { during = p.display().fullscreen(); });
    EXPECT_EQ(RunScript("note\nmenu close\n"), "");
    EXPECT_EQ(during, c.switched) << c.w << " x " << c.h << " force " << c.force;
    EXPECT_FALSE(player_->display().fullscreen()) << "restored at the exit";
    const std::string line =
        "Display " + std::to_string(c.w) + " x " + std::to_string(c.h) +
        (c.switched ? ": fullscreen, the 800 x 600 screen scaled to it." : ": left as it is.");
    EXPECT_EQ(player_->log_lines().at(0), line);
  }
}

TEST_F(PlayerShell, LayoutTextsOfAnyKindKeepEveryControlOnTheScreen) {
  Game(R"({"InterfaceKind": 1,
           "MenuButtonText": ["abc/def", "5000/5000", "-300/40", "", "100"],
           "MainMenuButtonText": "640/400", "SaveButtonText": "9000/0",
           "ExamineButtonText": "-50/-50", "InvBarSize": "9999/9999",
           "InventoryShown": 1, "SaveButtonShown": 1, "MainMenuButtonShown": 1})");
  EXPECT_EQ(Run("new-game\n"), "");
  const shell::Shell& shell = player_->shell();
  const screen::GameScreen& screen = player_->screen();
  EXPECT_EQ(shell.Buttn[1]->Left(), 0) << "not a number: 0";
  EXPECT_EQ(shell.Buttn[1]->Top(), 0);
  EXPECT_EQ(shell.Buttn[4]->Top(), 200 + 3 * 64) << "an empty text keeps the designed place";
  EXPECT_EQ(shell.Buttn[5]->Left(), 100);
  EXPECT_EQ(screen.ScnImg->Width(), 640);
  EXPECT_EQ(screen.Block->Height(), 400) << "the cover follows the scene area";
  for (const ui::Control* c : std::initializer_list<const ui::Control*>{
           shell.Buttn[2], shell.Buttn[3], screen.SaveGameButtn, screen.ExamineItem,
           screen.InvBar}) {
    const platform::Rect r = c->ScreenRect();
    EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.w <= 800 && r.y + r.h <= 600)
        << c->name() << " at " << r.x << "," << r.y << " " << r.w << "x" << r.h;
  }

  Game(R"({"InterfaceKind": 1, "MenuButtonText": ["99999/1", "", "", "", ""]})");
  EXPECT_EQ(Run(""), "");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "Unexpected error in procedure: OpenGenBase\r\nError #6: Overflow"}));
  EXPECT_EQ(Window(), "MainMenu") << "the menu still comes";
}

TEST_F(PlayerShell, CursorFilesReplaceTheBuiltInOnesAndAMissingOneIsReported) {
  Game(R"({"CursorFile": ["", "", "", "", "", "", "", "", "", "", "", "", "hand.bmp", "", ""]})");
  dir_.Write("resource/gfx/hand.bmp", SolidGif(16, 16));
  EXPECT_EQ(Run(""), "");
  EXPECT_EQ(player_->shell().MainMenu().MouseIcon()->width(), 16) << "the game's own cursor 13";
  EXPECT_EQ(Run("new-game\nexpect cursor 13\n"), "");
  EXPECT_EQ(player_->screen().Main().MouseIcon()->width(), 16);

  std::filesystem::remove(dir_.path() / "resource/gfx/hand.bmp");
  EXPECT_EQ(Run(""), "");
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{
                "Unexpected error in procedure: OpenGenBase\r\nError #53: File not found"}));
  EXPECT_EQ(player_->shell().MainMenu().MouseIcon()->width(), 32) << "the built-in cursor stays";
}

TEST_F(PlayerShell, TheStandardInterfaceFilesReplaceTheBuiltInPictures) {
  Game(R"({"InterfaceKind": 1})");
  dir_.Write("resource/gfx/bgmenu.jpg", "not a picture");
  dir_.Write("resource/gfx/bggame.bmp", SolidGif(800, 600, 0));
  EXPECT_EQ(Run(""), "");
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{
                "Unexpected error in procedure: OpenGenBase\r\nError #481: Invalid picture"}));
  std::filesystem::remove(dir_.path() / "resource/gfx/bgmenu.jpg");
  EXPECT_EQ(Run(""), "");
  EXPECT_TRUE(BoxTexts().empty());
  const auto& picture = player_->screen().Picture1->Picture();
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels().front(), 0xFF000000u) << "the game's black bggame.bmp";
}

// The opening logo's boxes the movie scenarios check.
TEST_F(PlayerShell, TheIntroPlaysAtStartUpAndFromTheMenu) {
  Game(R"({"IntroMovie": "intro.avi", "IntroAtStart": 1, "IntroAtNewGame": 0,
           "IntroMovieParam": 3})");
  // An intro that is no movie: its box tells each call.
  dir_.Write("resource/mmedia/intro.avi", "RIFF");
  EXPECT_EQ(Run("menu intro\nnew-game\n"), "");
  const std::string bad_intro =
      "Unexpected error in procedure: PlayIntroAVI\r\nError #321: Invalid file format";
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{bad_intro, bad_intro}))
      << "at start-up and from the menu, none for a new game";

  std::filesystem::remove(dir_.path() / "resource/mmedia/intro.avi");
  EXPECT_EQ(Run("menu intro\n"), "");
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0].rfind("Could not play 'AVI Intro'...\r", 0), 0u) << BoxTexts()[0];
  EXPECT_FALSE(player_->shell().MenuBusy) << "no intro from the menu: idle again";
}

TEST_F(PlayerShell, AGameBuiltWithDebuggingShowsTheNotifyWindowAndTheDebugButtonForANewGame) {
  Game(R"({"DebugMode": 1})");
  EXPECT_EQ(Run("new-game\n"), "");
  EXPECT_TRUE(player_->notify_log().NoWin().Visible());
  screen::GameScreen& screen = player_->screen();
  ASSERT_TRUE(screen.Command1->Visible());
  screen.Command1->on_click();
  EXPECT_TRUE(player_->debug().form().Visible()) << "the debug window, beside the game";

  Game("{}");
  EXPECT_EQ(Run("new-game\n"), "");
  EXPECT_FALSE(player_->screen().Command1->Visible());
}

TEST_F(PlayerShell, StartUpTakesTheStartScreenAndTheEngineLogoThenTheSavedFolderExists) {
  Game("{}");
  int64_t menu_at = -1;
  AddCommand("note", [&](Player& p) { menu_at = p.loop().NowMs(); });
  EXPECT_EQ(Run("note\n"), "");
  EXPECT_EQ(menu_at, 1200 + 16 * 90) << "1.2 s of start screen, then the logo plays once";
  EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "Saved"));
  EXPECT_EQ(player_->shell().SavedPath, (dir_.path() / "Saved").string() + "/");
  EXPECT_EQ(player_->shell().QVXPVersion->Caption(), "QVX v3.0.2");

  Game(R"({"EngineLogoSwitch": "1"})");
  EXPECT_EQ(Run("note\n"), "");
  EXPECT_EQ(menu_at, 1200) << "no engine logo";
  EXPECT_FALSE(player_->shell().QVXPVersion->Visible());
}

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
