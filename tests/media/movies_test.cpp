// AVI movies through the real FFmpeg path: each codec of old games gives its pictures at
// their times and its sound where the movie has sound; everything that is no AVI we play
// is refused before decoding; a broken file plays what it holds; the timed player of
// headless runs lasts as long as the movie. And a movie through the real path of players
// with a window: FFmpeg on the decoding thread, its sound through SDL2_mixer (SDL's disk
// audio driver writes the mix to a file, read back here) beside a game channel that goes
// on, and its pictures taken as they fall due on the real clock. The movies and logos of a
// headless game, from start-up on: the opening logo (GIF or AVI) and the intro hold
// start-up for their real length on the virtual clock, Escape ends them, a missing file
// gives its box and start-up goes on; movies in the game cover the scene, hold a scene
// load that waits for them, keep the cover when asked, give way to the next movie and to
// Escape. The movies are made by the ffmpeg command.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/state_json.h"
#include "data/game_folder.h"
#include "media/media_window.h"
#include "media/movie_files.h"
#include "media/spinner_gif.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/headless/recording_audio.h"
#include "platform/movies/movie_decoder.h"
#include "platform/movies/movie_players.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_mixer_audio.h"
#include "shell/shell_fixture.h"
#include "sound/wav_writer.h"
#include "test_support.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::testing {
namespace {

using platform::MemoryBudget;
using platform::MovieDecoder;
using platform::MovieLimits;

// The colour at the middle of a picture, as 0xRRGGBB.
uint32_t Middle(const platform::Image& image) {
  return image.pixels()[static_cast<size_t>(image.height() / 2 * image.width() +
                                            image.width() / 2)] &
         0xFFFFFFu;
}
// The loudest of 16-bit stereo samples at 44100 Hz between two times.
int Peak(const std::vector<int16_t>& sound, double from_s, double to_s) {
  int peak = 0;
  for (size_t i = static_cast<size_t>(from_s * 44100) * 2;
       i < std::min(sound.size(), static_cast<size_t>(to_s * 44100) * 2); ++i)
    peak = std::max(peak, std::abs(static_cast<int>(sound[i])));
  return peak;
}

// What a whole movie decodes to.
struct Decoded {
  std::vector<platform::MovieVideoFrame> frames;
  std::vector<int16_t> sound;
  platform::MovieInfo info;

  // The colour at the middle of the picture shown at `ms`.
  uint32_t ColourAt(int64_t ms) const {
    const platform::Image* shown = nullptr;
    for (const auto& f : frames) {
      if (f.time_ms <= ms) shown = f.image.get();
    }
    return shown == nullptr ? 0 : Middle(*shown);
  }
  int Peak(double from_s, double to_s) const { return testing::Peak(sound, from_s, to_s); }
};

Decoded DecodeAll(MovieDecoder& decoder) {
  Decoded out;
  platform::MovieVideoFrame frame;
  platform::MovieSoundPiece piece;
  for (;;) {
    const MovieDecoder::Got got = decoder.Next(frame, piece);
    if (got == MovieDecoder::Got::kEnd) break;
    if (got == MovieDecoder::Got::kFrame) out.frames.push_back(frame);
    if (got == MovieDecoder::Got::kSound)
      out.sound.insert(out.sound.end(), piece.samples.begin(), piece.samples.end());
  }
  out.info = decoder.info();
  return out;
}

bool Reddish(uint32_t rgb) {
  return (rgb >> 16) > 200 && ((rgb >> 8) & 0xFF) < 70 && (rgb & 0xFF) < 70;
}
bool Bluish(uint32_t rgb) {
  return (rgb >> 16) < 70 && ((rgb >> 8) & 0xFF) < 70 && (rgb & 0xFF) > 200;
}

class MovieDecoding : public ::testing::Test {
 protected:
  std::filesystem::path Movie(const std::string& name, const MovieRecipe& recipe) {
    const auto file = dir_.path() / name;
    EXPECT_TRUE(MakeMovie(file, recipe)) << "ffmpeg could not make " << name;
    return file;
  }
  int Refused(const std::filesystem::path& file, MovieLimits limits = {}) {
    return VbErrorNumber([&] { MovieDecoder::OpenFile(file, limits, budget_); });
  }

  TempDir dir_;
  MemoryBudget budget_;
};

TEST_F(MovieDecoding, EachCodecGivesItsPicturesAtTheirTimesAndSoundWhereTheMovieHasSound) {
  const struct {
    const char* video;
    const char* audio;
  } kinds[] = {{"cinepak", "pcm_s16le"},
               {"msvideo1", "adpcm_ms"},
               {"mjpeg", "adpcm_ima_wav"},
               {"msvideo1", ""}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(std::string(kind.video) + " " + kind.audio);
    MovieRecipe recipe;
    recipe.video_codec = kind.video;
    recipe.audio_codec = kind.audio;
    const auto file = Movie(std::string(kind.video) + "_" + kind.audio + ".avi", recipe);
    auto decoder = MovieDecoder::OpenFile(file, {}, budget_);
    EXPECT_EQ(decoder->info().width, 64);
    EXPECT_EQ(decoder->info().height, 48);
    EXPECT_DOUBLE_EQ(decoder->info().frames_per_second, 10.0);
    EXPECT_EQ(decoder->info().has_sound, *kind.audio != '\0');
    EXPECT_GT(budget_.used(), 0u) << "its memory is reserved before it decodes";
    const Decoded movie = DecodeAll(*decoder);
    EXPECT_EQ(movie.frames.size(), 20u);
    EXPECT_TRUE(Reddish(movie.ColourAt(500))) << std::hex << movie.ColourAt(500);
    EXPECT_TRUE(Bluish(movie.ColourAt(1500))) << std::hex << movie.ColourAt(1500);
    EXPECT_EQ(movie.frames.front().image->pixels()[0] >> 24, 0xFFu) << "opaque";
    EXPECT_NEAR(static_cast<double>(movie.info.duration_ms), 2000, 50);
    if (*kind.audio != '\0') {
      EXPECT_GT(movie.Peak(0.1, 0.9), 8000) << "the tone";
      EXPECT_LT(movie.Peak(1.2, 1.9), 300) << "the silence after it";
      EXPECT_NEAR(static_cast<double>(movie.sound.size()) / 2 / 44100, 2.0, 0.1);
    } else {
      EXPECT_TRUE(movie.sound.empty());
    }
  }
  EXPECT_EQ(budget_.used(), 0u) << "every decoder gave its memory back";
}

TEST_F(MovieDecoding, WhatIsNoAviWePlayIsRefusedBeforeDecoding) {
  EXPECT_EQ(Refused(dir_.path() / "missing.avi"), kErrFileNotFound);
  EXPECT_EQ(Refused(dir_.Write("text.avi", "hello, no movie")), kErrInvalidFileFormat);
  EXPECT_EQ(Refused(dir_.Write("empty.avi", "")), kErrInvalidFileFormat);
  EXPECT_EQ(Refused(dir_.Write("head.avi", std::string("RIFF\x04\0\0\0AVI ", 12))),
            kErrInvalidFileFormat);

  MovieRecipe other;
  other.video_codec = "mjpeg";
  other.container = "matroska";
  EXPECT_EQ(Refused(Movie("mjpeg.mkv.avi", other)), kErrInvalidFileFormat) << "another container";
  MovieRecipe ffv1;
  ffv1.video_codec = "ffv1";
  EXPECT_EQ(Refused(Movie("ffv1.avi", ffv1)), kErrInvalidFileFormat) << "a codec not ours";
  MovieRecipe ac3;
  ac3.audio_codec = "ac3";
  EXPECT_EQ(Refused(Movie("ac3.avi", ac3)), kErrInvalidFileFormat) << "a sound codec not ours";
  MovieRecipe wide;
  wide.video_codec = "rawvideo";
  wide.size = "4100x8";
  wide.colours = "red";
  EXPECT_EQ(Refused(Movie("wide.avi", wide)), kErrInvalidFileFormat) << "wider than 4096";
  MovieRecipe fast;
  fast.fps = 1000;
  fast.video_codec = "msvideo1";
  fast.colours = "red";
  EXPECT_EQ(Refused(Movie("fast.avi", fast)), kErrInvalidFileFormat) << "1000 frames a second";
  MovieRecipe many;
  many.audio_codec = "pcm_u8";
  many.extra = "-map 0:v -map 1:a -map 1:a -map 1:a -map 1:a -map 1:a -map 1:a -map 1:a -map 1:a";
  EXPECT_EQ(Refused(Movie("many.avi", many)), kErrInvalidFileFormat) << "nine streams";

  MovieRecipe fine;
  const auto small = Movie("fine.avi", fine);
  MovieLimits limits;
  limits.max_duration_ms = 1500;
  EXPECT_EQ(Refused(small, limits), kErrInvalidFileFormat) << "longer than allowed";
  MemoryBudget tight(64 * 1024);
  EXPECT_EQ(VbErrorNumber([&] { MovieDecoder::OpenFile(small, {}, tight); }), kErrOutOfMemory);
  EXPECT_EQ(tight.used(), 0u);
}

TEST_F(MovieDecoding, AFileCutShortPlaysWhatItHoldsAndTheTimedPlayerLastsThatLong) {
  MovieRecipe recipe;
  recipe.audio_codec = "pcm_s16le";
  recipe.colours = "red red blue blue";
  const auto whole = Movie("whole.avi", recipe);
  auto bytes = ReadBytes(whole);
  bytes.resize(bytes.size() * 45 / 100);
  const auto cut = dir_.Write("cut.avi", bytes);

  const Decoded movie = DecodeAll(*MovieDecoder::OpenFile(cut, {}, budget_));
  EXPECT_TRUE(Reddish(movie.ColourAt(500)));
  EXPECT_GT(movie.info.duration_ms, 1000);
  EXPECT_LT(movie.info.duration_ms, 3000) << "no longer than what is there";

  auto scanned = MovieDecoder::OpenFile(cut, {}, budget_);
  scanned->ScanDuration();
  EXPECT_NEAR(static_cast<double>(scanned->info().duration_ms),
              static_cast<double>(movie.info.duration_ms), 150);

  // Headless, the movie lasts as long as its file really holds, on the virtual clock.
  platform::VirtualClock clock;
  auto player = platform::MakeTimedPlayer(clock, budget_);
  const uint64_t before = budget_.used();
  auto full = player->Open(whole);
  EXPECT_EQ(budget_.used(), before) << "the timed player keeps no decoder";
  EXPECT_EQ(full->NextChangeMs(), std::nullopt) << "not playing yet";
  full->Play();
  EXPECT_EQ(full->NextChangeMs(), 4000);
  clock.AdvanceTo(1000);
  full->Stop();
  clock.AdvanceTo(5000);
  EXPECT_FALSE(full->Ended()) << "a stopped movie stands still";
  full->Play();
  EXPECT_EQ(full->NextChangeMs(), 8000);
  clock.AdvanceTo(8000);
  EXPECT_TRUE(full->Ended());
  EXPECT_EQ(player->Open(cut)->info().duration_ms, scanned->info().duration_ms);
  EXPECT_EQ(VbErrorNumber([&] { player->Open(dir_.Write("no.avi", "RIFF")); }),
            kErrInvalidFileFormat);
}

TEST(MovieOnSdl, PicturesFallDueOnTheClockAndTheSoundIsMixedBesideTheGameChannels) {
  TempDir dir;
  const auto out = dir.path() / "mixed.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  MovieRecipe recipe;
  recipe.video_codec = "msvideo1";
  recipe.audio_codec = "adpcm_ms";
  const auto file = dir.path() / "clip.avi";
  ASSERT_TRUE(MakeMovie(file, recipe));
  const auto hum = dir.Write("hum.wav", ToneWav(3.0, 220.0, 16000));

  platform::SteadyClock clock;
  platform::MemoryBudget budget;
  uint32_t early = 0;
  uint32_t late = 0;
  int64_t ended_at = 0;
  {
    platform::SdlMixerAudio audio;
    auto player = platform::MakeDecodingPlayer(audio, clock, budget);
    // A game channel a tenth as loud as the movie, all through.
    audio.Play(1, "hum.wav", hum, false, 0, -2000);
    auto movie = player->Open(file);
    const int64_t start = clock.NowMs();
    movie->Play();
    while (!movie->Ended() && clock.NowMs() - start < 5000) {
      const int64_t wait = movie->NextChangeMs().value_or(clock.NowMs() + 10) - clock.NowMs();
      std::this_thread::sleep_for(std::chrono::milliseconds(std::max<int64_t>(1, wait)));
      const platform::ImagePtr frame = movie->CurrentFrame();
      const int64_t at = clock.NowMs() - start;
      if (frame && at > 300 && at < 700) early = Middle(*frame);
      if (frame && at > 1300 && at < 1700) late = Middle(*frame);
    }
    ended_at = clock.NowMs() - start;
    EXPECT_TRUE(audio.stream_playing()) << "the stream is the movie's until it goes";
    movie.reset();
    EXPECT_FALSE(audio.stream_playing());
    EXPECT_TRUE(audio.channel(1).playing) << "the game channel went on";
  }
  EXPECT_EQ(early, 0xFF0000u) << "red in the first second";
  EXPECT_EQ(late, 0x0000FFu) << "blue in the second";
  EXPECT_GE(ended_at, 1900) << "it lasts its length";
  EXPECT_LT(ended_at, 3000);

  // The disk driver writes as the sound is heard: the movie's tone comes first, the hum
  // alone after it.
  const auto bytes = ReadBytes(out);
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  EXPECT_GT(Peak(samples, 0.2, 0.8), 8000) << "the movie's tone";
  EXPECT_NEAR(Peak(samples, 1.3, 1.8), 1600, 300) << "the game channel alone";
}

TEST(MovieOnSdl, TheMediaWindowShowsEachPictureOnTheScreenAndReportsItsEnd) {
  TempDir dir;
  MovieRecipe recipe;
  recipe.video_codec = "cinepak";
  ASSERT_TRUE(MakeMovie(dir.path() / "resource/mmedia/clip.avi", recipe));
  data::GameFolder folder(dir.path());
  platform::SdlBackend backend;
  platform::EventLoop loop(backend);
  ui::Desktop desktop(loop);
  platform::RecordingAudio audio;
  platform::MemoryBudget budget;
  auto player = platform::MakeDecodingPlayer(audio, backend.clock(), budget);
  {
    ui::Form main(desktop, "Main");
    main.Move(0, 0, 800, 600);
    auto& window = main.Create<media::MediaWindow>("MovieWindow", loop, *player, folder);
    window.Move(100, 100, 64, 48);
    main.Show();
    window.SetFileName(folder.AppPath() + "resource\\mmedia\\clip.avi");
    int64_t stopped_at = -1;
    window.on_mode_change = [&](int16_t mode) {
      if (mode == media::MediaWindow::kModeStopped) stopped_at = loop.NowMs();
    };
    const int64_t start = loop.NowMs();
    window.Command("play");
    auto middle = [&] {
      const platform::ImagePtr screen = backend.CaptureScreen();
      return screen->pixels()[static_cast<size_t>(124 * screen->width() + 132)] & 0xFFFFFFu;
    };
    loop.PassTime(500);
    // Cinepak is lossy: near red, then near blue.
    EXPECT_EQ(middle() & 0xF0F0F0u, 0xF00000u) << std::hex << middle();
    loop.PassTime(1000);
    EXPECT_EQ(middle() & 0xF0F0F0u, 0x0000F0u) << std::hex << middle();
    loop.WaitUntil([&] { return stopped_at >= 0; }, "the movie to end");
    EXPECT_NEAR(static_cast<double>(stopped_at - start), 2000, 300);
    EXPECT_EQ(window.Mode(), "stopped");
    main.Hide();
    loop.DoEvents();
  }
}

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
