// The movies and logos of a headless game, from start-up on: the opening logo (GIF or
// AVI) and the intro hold start-up for their real length on the virtual clock, Escape
// ends them, a missing file gives its box and start-up goes on; movies in the game cover
// the scene, hold a scene load that waits for them, keep the cover when asked, give way
// to the next movie and to Escape.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/state_json.h"
#include "media/movie_files.h"
#include "media/spinner_gif.h"
#include "shell/shell_fixture.h"

namespace qv::testing {
namespace {

class MovieScenario : public ShellTest {
 protected:
  // A two-second movie (red, then blue) with sound, under resource/mmedia/.
  void Movie(const std::string& name, const std::string& colours = "red blue") {
    MovieRecipe recipe;
    recipe.audio_codec = "pcm_s16le";
    recipe.colours = colours;
    ASSERT_TRUE(MakeMovie(dir_.path() / "resource/mmedia" / name, recipe));
  }
  // Starts the program; returns the virtual time at which the main menu waits.
  int64_t StartUp() {
    MakePlayer();
    player_->Start();
    EXPECT_EQ(player_->desktop().ActiveForm()->name(), "MainMenu");
    return player_->loop().NowMs();
  }
  // Runs `act` at virtual time `ms` (in whatever wait the player is then).
  void At(int64_t ms, std::function<void()> act) {
    const size_t n = timers_.size();
    timers_.push_back(std::make_unique<platform::Timer>(player_->loop().timers(), [this, n, act] {
      timers_[n]->SetEnabled(false);
      act();
    }));
    timers_[n]->SetInterval(static_cast<int32_t>(ms - player_->loop().NowMs()));
    timers_[n]->SetEnabled(true);
  }
  // Presses Escape at virtual time `ms`.
  void EscapeAt(int64_t ms) {
    At(ms, [this] {
      platform::InputEvent key;
      key.kind = platform::InputEvent::Kind::kKeyDown;
      key.key = platform::Key::kEscape;
      player_->backend().InjectInput(key);
    });
  }
  std::string MovieInJson() { return app::StateJson(*player_)["movie"].get<std::string>(); }

  std::vector<std::unique_ptr<platform::Timer>> timers_;
};

// No engine logo: start-up reaches the game's logo after the start screen's 1.2 s.
constexpr const char* kNoEngineLogo = R"("EngineLogoSwitch": "1")";

TEST_F(MovieScenario, LogosHoldStartUpForTheirLengthAndAMissingOneGivesItsBox) {
  Game(std::string("{") + kNoEngineLogo + "}");
  const int64_t bare = StartUp();

  Game(std::string("{") + kNoEngineLogo + R"(, "OpeningLogo": "Logo.AVI"})");
  Movie("logo.avi");
  EXPECT_EQ(StartUp() - bare, 2000) << "the AVI logo plays its two seconds";
  EXPECT_TRUE(player_->movies().OpeningLogoDone);
  EXPECT_FALSE(player_->movies().UserAVILogo->Visible());

  dir_.Write("resource/gfx/still.gif", SpinnerGif(1, 32, 32, 10));
  Game(std::string("{") + kNoEngineLogo + R"(, "OpeningLogo": "still.gif"})");
  EXPECT_EQ(StartUp() - bare, 2000) << "a one-frame GIF logo stays two seconds";
  dir_.Write("resource/gfx/spin.gif", SpinnerGif(5, 32, 32, 10));
  Game(std::string("{") + kNoEngineLogo + R"(, "OpeningLogo": "spin.gif"})");
  const int64_t animated = StartUp() - bare;
  EXPECT_GE(animated, 4 * 100) << "each frame of one pass shows";
  EXPECT_LT(animated, 2 * 5 * 100) << "one pass only";

  Game(std::string("{") + kNoEngineLogo + R"(, "OpeningLogo": "gone.gif"})");
  EXPECT_EQ(StartUp(), bare) << "start-up goes on at once";
  EXPECT_THAT(BoxTexts(), ::testing::ElementsAre("Could not play 'Opening Logo'...\r\"" +
                                                 (dir_.path() / "resource/gfx/gone.gif").string() +
                                                 "\" not found."));
  Game(std::string("{") + kNoEngineLogo + R"(, "OpeningLogo": "broken.avi"})");
  dir_.Write("resource/mmedia/broken.avi", "RIFF");
  EXPECT_EQ(StartUp(), bare) << "a logo that cannot play does not hold start-up";
  EXPECT_THAT(BoxTexts(), ::testing::ElementsAre("Unexpected error in procedure: PlayOpenCredsAVI"
                                                 "\r\nError #321: Invalid file format"));
}

TEST_F(MovieScenario, EscapeEndsTheLogoAndTheIntro) {
  Game(std::string("{") + kNoEngineLogo +
       R"(, "OpeningLogo": "logo.avi", "IntroMovie": "intro.avi", "IntroAtStart": 1,
            "IntroMovieParam": 5})");
  Movie("logo.avi", "red red red red");
  Movie("intro.avi", "blue blue blue blue");
  const int64_t full = StartUp();
  EXPECT_EQ(full, 1200 + 4000 + 4000 + 2000) << "the intro's window goes 2 s after its end";
  EXPECT_EQ(player_->movies().UserIntroMovie->Option, 5);
  EXPECT_FALSE(player_->movies().IntroFrm().Visible());

  MakePlayer();
  EscapeAt(2000);  // during the logo, which began at 1200: the intro starts at once
  std::string playing;
  At(2500, [&] { playing = MovieInJson(); });
  EscapeAt(3000);
  player_->Start();
  EXPECT_EQ(playing, "intro.avi");
  EXPECT_EQ(player_->loop().NowMs(), 3000 + 2000) << "the intro ended by Escape, then the 2 s";
  EXPECT_EQ(MovieInJson(), "");
}

TEST_F(MovieScenario, MoviesInTheGameCoverTheSceneAndHoldALoadThatWaitsForThem) {
  Game("{}");
  Movie("clip.avi");
  Movie("next.avi", "blue");
  StartUp();
  player_->shell().StartNewGame();
  media::Movies& movies = player_->movies();
  platform::EventLoop& loop = player_->loop();
  ui::Control& block = *player_->screen().Block;

  // Started with the wait option: the next scene load waits for its end.
  const int64_t started = loop.NowMs();
  movies.PlayMovie("clip.avi", 3, true, false);
  EXPECT_TRUE(movies.MoviePlaying);
  EXPECT_EQ(MovieInJson(), "clip.avi");
  loop.PassTime(500);
  EXPECT_TRUE(movies.AVIBG->Visible());
  EXPECT_TRUE(movies.MovieWindow->Visible());
  EXPECT_EQ(movies.MovieWindow->Width(), 700) << "MovieSizeMode 0";
  player_->engine().LoadScene(2);
  EXPECT_EQ(player_->scene_data().scene.CurrentScene, 2);
  EXPECT_GE(loop.NowMs() - started, 2000);
  EXPECT_TRUE(movies.MovieFinished);
  EXPECT_FALSE(movies.AVIBG->Visible());
  EXPECT_EQ(MovieInJson(), "");

  // Kept cover: the scene stays covered after the movie.
  movies.PlayMovie("clip.avi", 0, false, true);
  loop.PassTime(2000 + 200);
  EXPECT_FALSE(movies.MoviePlaying);
  EXPECT_TRUE(block.Visible());
  movies.PlayMovie("clip.avi", 0, false, false);
  loop.PassTime(2000 + 200);
  EXPECT_FALSE(block.Visible());

  // A second movie replaces the first; the first's end never comes.
  movies.PlayMovie("clip.avi", 0, false, false);
  loop.PassTime(500);
  movies.PlayMovie("next.avi", 0, false, false);
  EXPECT_EQ(MovieInJson(), "next.avi");
  loop.PassTime(900);
  EXPECT_TRUE(movies.MoviePlaying);
  loop.PassTime(100 + 200);
  EXPECT_FALSE(movies.MoviePlaying) << "the one-second movie has ended";
}

TEST_F(MovieScenario, AWalkthroughCancelsAMovieWithTheEscapeKey) {
  Game("{}", R"([{"Objects": [{"ObjType": 4, "ObjX": 300, "ObjY": 200, "ObjN4": 1, "ObjN0": 3,
                               "ObjS1": "clip.avi", "ObjN1": 2}]}, {}, {}])");
  Movie("clip.avi");
  EXPECT_EQ(Run("new-game\n"
                "wait 100\n"
                "click object 1\n"
                "expect log \"Play movie: 'clip.avi'.\"\n"
                "wait 500\n"
                "key Escape\n"
                "expect log \"Movie playback cancelled by user.\"\n"
                "wait 300\n"),
            "");
  EXPECT_FALSE(player_->movies().MoviePlaying);
  EXPECT_EQ(player_->movies().MovieWindow->Option, 2);
  EXPECT_EQ(MovieInJson(), "");
}

TEST_F(MovieScenario, AMovieThatCannotPlayGivesItsBoxAndNothingWaitsForIt) {
  Game(R"({"MovieSizeMode": 1})", R"([{}, {}, {}])");
  Movie("clip.avi");
  dir_.Write("resource/mmedia/bad.avi", "RIFF....AVI LIST");
  StartUp();
  player_->shell().StartNewGame();
  media::Movies& movies = player_->movies();

  movies.PlayMovie("gone.avi", 0, true, false);
  movies.PlayMovie("bad.avi", 0, true, false);
  EXPECT_THAT(BoxTexts(),
              ::testing::ElementsAre(
                  "Could not play AVI movie...\r\"" +
                      (dir_.path() / "resource/mmedia/gone.avi").string() + "\" not found.",
                  "Error playing AVI: 'bad.avi'\rErr #321 / Invalid file format"));
  EXPECT_FALSE(movies.MoviePlaying);
  EXPECT_TRUE(movies.MovieFinished);
  player_->engine().LoadScene(2);  // does not wait for a movie that never came
  EXPECT_EQ(player_->scene_data().scene.CurrentScene, 2);

  movies.PlayMovie("clip.avi", 0, false, false);
  EXPECT_EQ(movies.MovieWindow->Width(), 400) << "MovieSizeMode 1: 400 wide, its shape kept";
  EXPECT_EQ(movies.MovieWindow->Height(), 300);
}

}  // namespace
}  // namespace qv::testing
