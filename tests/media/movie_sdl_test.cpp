// A movie through the real path of players with a window: FFmpeg on the decoding thread,
// its sound through SDL2_mixer (SDL's disk audio driver writes the mix to a file, read
// back here) beside a game channel that goes on, and its pictures taken as they fall due
// on the real clock.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "data/game_folder.h"
#include "media/media_window.h"
#include "media/movie_files.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/headless/recording_audio.h"
#include "platform/movies/movie_players.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_mixer_audio.h"
#include "sound/wav_writer.h"
#include "test_support.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::testing {
namespace {

uint32_t Middle(const platform::Image& image) {
  return image.pixels()[static_cast<size_t>(image.height() / 2 * image.width() +
                                            image.width() / 2)] &
         0xFFFFFFu;
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

  const auto bytes = ReadBytes(out);
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  // The disk driver writes as the sound is heard: the movie's tone comes first, the hum
  // alone after it.
  auto peak = [&](double from, double to) {
    int p = 0;
    for (size_t i = static_cast<size_t>(from * 44100) * 2;
         i < std::min(samples.size(), static_cast<size_t>(to * 44100) * 2); ++i)
      p = std::max(p, std::abs(static_cast<int>(samples[i])));
    return p;
  };
  EXPECT_GT(peak(0.2, 0.8), 8000) << "the movie's tone";
  EXPECT_NEAR(peak(1.3, 1.8), 1600, 300) << "the game channel alone";
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

}  // namespace
}  // namespace qv::testing
