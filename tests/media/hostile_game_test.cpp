// The hostile-media game played by the quorvex-player program, headless and in a window
// (SDL's dummy video and disk audio drivers): it must end within 30 s, show the boxes
// the refused files call for, and keep its peak memory under 700 MB whatever the files
// claim. The peak is the child's own maximum resident set size, from wait4.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "media/hostile_media.h"
#include "test_support.h"

namespace qv::testing {
namespace {

// Under the sanitizers the program is many times slower and bigger: only what it shows
// is checked there, its time and memory in the normal build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMeasured = false;
#else
constexpr bool kMeasured = true;
#endif
#else
constexpr bool kMeasured = true;
#endif

struct PlayerRun {
  int status = -1;  // the exit status, -1 when killed
  double seconds = 0;
  long peak_rss_kb = 0;
};

// Runs the player on `game` with `args`, killing it after `limit_s` seconds.
PlayerRun RunPlayer(const std::vector<std::string>& args, const std::filesystem::path& audio_out,
                    int limit_s) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", audio_out.c_str(), 1);
    std::vector<char*> argv = {const_cast<char*>(QV_PLAYER_BINARY)};
    for (const auto& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(QV_PLAYER_BINARY, argv.data());
    _exit(127);
  }
  PlayerRun run;
  int status = 0;
  struct rusage usage {};
  for (;;) {
    const pid_t done = wait4(child, &status, WNOHANG, &usage);
    if (done == child) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(limit_s)) {
      kill(child, SIGKILL);
      wait4(child, &status, 0, &usage);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.peak_rss_kb = usage.ru_maxrss;
  return run;
}

TEST(HostileGame, EndsWithinHalfAMinuteWithItsBoxesAndWithinItsMemoryWithAndWithoutAWindow) {
  TempDir outside;
  TempDir dir;
  const auto game = dir.path() / "game";
  WriteHostileGame(game, outside.path());
  const auto script = dir.Write("walk.qvs", HostileGameScript());
  for (const bool window : {false, true}) {
    const auto log = dir.path() / (window ? "window.log" : "headless.log");
    std::vector<std::string> args = {"--script", script.string(), "--log", log.string()};
    if (window) args.push_back("--window");
    args.push_back(game.string());
    const PlayerRun run = RunPlayer(args, dir.path() / "audio.raw", kMeasured ? 60 : 600);
    const std::string mode = window ? "window" : "headless";
    const std::string text = ReadText(log);
    EXPECT_EQ(run.status, 0) << mode << "\n" << text;
    const auto count = [&](const std::string& what) {
      size_t n = 0;
      for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
      return n;
    };
    EXPECT_EQ(count("ERROR PLAYING MIDI FILE.  \\rErr #321 :  Invalid file format"),
              RefusedMidis().size())
        << mode;
    EXPECT_EQ(count("ERROR PLAYING MP3 FILE.  \\rErr #321 :  Invalid file format"), 1u) << mode;
    EXPECT_EQ(count("Error #7: Out of memory"), 19u) << mode << ": all but one big GIF";
    EXPECT_EQ(count("Error playing AVI: "), 2u) << mode << ": the broken and the empty movie";
    EXPECT_EQ(count("Error #481: Invalid picture"), 1u) << mode << ": the GIF of too much work";
    for (const char* sound : {"'pipe.wav' - Channel16", "'out.wav' - Channel17"}) {
      EXPECT_EQ(count(std::string(sound) + " - Pan0 - Vol0\\rErr #53 : File not found"), 1u)
          << mode << " " << sound;
    }
    if (kMeasured) {
      EXPECT_LT(run.seconds, 30.0) << mode;
      EXPECT_LT(run.peak_rss_kb, 700L * 1000) << mode;
    }
    std::printf("[ hostile ] %s: %.1f s, peak RSS %ld MB\n", mode.c_str(), run.seconds,
                run.peak_rss_kb / 1024);
  }
}

}  // namespace
}  // namespace qv::testing
