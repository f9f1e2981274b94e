// Idle CPU of the player showing the game's own kind of animation: a form on the window
// backend with the animated picture control playing a 20-frame GIF (320 x 240, 100 ms a
// frame, looping for ever), loaded from a file through the picture loader. Goal: under
// 2 % of one core. A second case hides the animation, which should cost next to
// nothing. Runs under SDL's dummy video driver unless another is chosen
// (SDL_VIDEODRIVER).
//
//   animated_picture_idle_bench [SECONDS]      default 10 s per case

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/game_folder.h"
#include "idle_measure.h"
#include "media/animated_picture.h"
#include "media/spinner_gif.h"
#include "platform/event_loop.h"
#include "platform/pictures/picture_files.h"
#include "platform/sdl/sdl_backend.h"
#include "test_support.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace {

using namespace qv;

struct Result {
  double cpu_percent;
  double wall_seconds;
  int64_t frames;
  int frame_changes;
};

Result Measure(const data::GameFolder& folder, bool shown, int seconds) {
  platform::PictureFiles pictures;
  platform::SdlBackend backend;
  platform::EventLoop loop(backend);
  ui::Desktop desktop(loop);
  ui::Form main(desktop, "Main");
  main.Move(0, 0, 800, 600);
  auto& anim = main.Create<media::AnimatedPicture>("Animation", 1, loop,
                                                   media::PictureSource{folder, pictures});
  anim.Move(240, 180, 320, 240);
  int changes = 0;
  anim.on_frame_changed = [&] { ++changes; };
  main.Show();
  anim.Load(folder.AppPath() + "resource\\gfx\\spinner.gif");
  anim.SetVisible(shown);
  anim.Start();
  loop.DoEvents();  // the loaded event, the first frame and the window's start-up events

  const bench::IdleRun run = bench::MeasureIdle(loop, backend, seconds);
  return {run.cpu_percent, run.wall_seconds, run.frames, changes};
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  setenv("SDL_VIDEODRIVER", "dummy", /*overwrite=*/0);
  qv::testing::TempDir dir;
  dir.Write("resource/gfx/spinner.gif", qv::testing::SpinnerGif(20, 320, 240, 10));
  const data::GameFolder folder(dir.path());
  std::printf("animated picture control, %d s per case, video driver %s\n", seconds,
              std::getenv("SDL_VIDEODRIVER"));
  bool all_met = true;
  struct Case {
    const char* name;
    bool shown;
    double goal_percent;
  };
  for (const Case& c :
       {Case{"20-frame GIF at 10 fps", true, 2.0}, Case{"the same, hidden", false, 0.5}}) {
    const Result r = Measure(folder, c.shown, seconds);
    const bool met = r.cpu_percent < c.goal_percent;
    all_met = all_met && met;
    std::printf(
        "%-26s %6.3f %% of one core over %.1f s, %lld frames, %d frame changes "
        "(goal < %.1f %%: %s)\n",
        c.name, r.cpu_percent, r.wall_seconds, static_cast<long long>(r.frames), r.frame_changes,
        c.goal_percent, met ? "met" : "MISSED");
  }
  return all_met ? 0 : 1;
}
