// Idle CPU of the window backend's event loop: how much of one core the player uses
// while it shows a still picture, and while a 20-frame animation changes every 100 ms.
// Goals: under 0.5 % and under 2 %. Runs under SDL's dummy video driver unless another
// is chosen (SDL_VIDEODRIVER).
//
//   idle_cpu_bench [SECONDS]      default 10 s per case

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "idle_measure.h"
#include "platform/event_loop.h"
#include "platform/renderer.h"
#include "platform/sdl/sdl_backend.h"

namespace {

using namespace qv::platform;

ImagePtr Picture(int w, int h, uint32_t seed) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = 0xFF000000u | ((static_cast<uint32_t>(i) * 2654435761u + seed) & 0xFFFFFFu);
  }
  return std::make_shared<Image>(w, h, std::move(pixels));
}

class PicturePainter : public Painter {
 public:
  void Paint(Renderer& renderer) override {
    renderer.DrawImage(*frames[current], {0, 0, 800, 600});
    renderer.DrawText("Quorvex Player", 20, 560, {16, true}, Rgb{255, 255, 255});
  }
  std::vector<ImagePtr> frames;
  size_t current = 0;
};

using Result = qv::bench::IdleRun;

// Runs the loop for `seconds` the way the player idles: sleeping in the backend until the
// next timer or input.
Result Measure(int frame_count, int seconds) {
  SdlBackend backend;
  EventLoop loop(backend);
  PicturePainter painter;
  for (int i = 0; i < frame_count; ++i) {
    painter.frames.push_back(Picture(800, 600, static_cast<uint32_t>(i)));
  }
  loop.SetPainter(&painter);
  loop.DoEvents();  // the first frame, and the window's own start-up events

  Timer animation(loop.timers(), [&] {
    painter.current = (painter.current + 1) % painter.frames.size();
    loop.RequestRedraw();
  });
  animation.SetInterval(100);
  animation.SetEnabled(frame_count > 1);
  return qv::bench::MeasureIdle(loop, backend, seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  setenv("SDL_VIDEODRIVER", "dummy", /*overwrite=*/0);
  std::printf("idle CPU, %d s per case, video driver %s\n", seconds,
              std::getenv("SDL_VIDEODRIVER"));
  bool all_met = true;
  struct Case {
    const char* name;
    int frames;
    double goal_percent;
  };
  for (const Case& c :
       {Case{"still picture", 1, 0.5}, Case{"20-frame animation at 10 fps", 20, 2.0}}) {
    const Result r = Measure(c.frames, seconds);
    const bool met = r.cpu_percent < c.goal_percent;
    all_met = all_met && met;
    std::printf("%-30s %6.3f %% of one core over %.1f s, %lld frames (goal < %.1f %%: %s)\n",
                c.name, r.cpu_percent, r.wall_seconds, static_cast<long long>(r.frames),
                c.goal_percent, met ? "met" : "MISSED");
  }
  return all_met ? 0 : 1;
}
