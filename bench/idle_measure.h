#pragma once
// What the idle benchmarks measure: the CPU time the player takes while its event loop
// waits a number of seconds of real time, and the frames it presents meanwhile.

#include <sys/resource.h>

#include <chrono>
#include <cstdint>

#include "platform/event_loop.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/timer_service.h"

namespace qv::bench {

// User and system CPU time of this process so far, in seconds.
inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct IdleRun {
  double cpu_percent;  // of one core
  double wall_seconds;
  int64_t frames;  // presented by the backend
};

// Lets the loop wait `seconds` and measures what that cost.
inline IdleRun MeasureIdle(platform::EventLoop& loop, const platform::SdlBackend& backend,
                           int seconds) {
  bool finished = false;
  platform::Countdown end(loop.timers(), [&](int16_t) { finished = true; });
  end.SetDuration(seconds * 1000);
  const int64_t frames_before = backend.frames_presented();
  const double cpu_before = CpuSeconds();
  const auto wall_before = std::chrono::steady_clock::now();
  end.SetEnabled(true);
  loop.WaitUntil([&] { return finished; });
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_before).count();
  const double cpu = CpuSeconds() - cpu_before;
  return {100.0 * cpu / wall, wall, backend.frames_presented() - frames_before};
}

}  // namespace qv::bench
