#pragma once
// The only clocks the player knows: the real one (SDL's tick counter) and the virtual one
// of headless runs. Nothing else in the player reads the time; SteadyClock serves tests
// and benchmarks that run parts of the player in real time without SDL.

#include <chrono>
#include <cstdint>

namespace qv::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the player started.
  virtual int64_t NowMs() const = 0;
};

// Time that passes only when told to: headless runs jump it to the next deadline.
class VirtualClock : public Clock {
 public:
  int64_t NowMs() const override { return now_; }
  // Moves time forward (never backward).
  void AdvanceTo(int64_t ms) {
    if (ms > now_) now_ = ms;
  }

 private:
  int64_t now_ = 0;
};

// Real time since the clock was made.
class SteadyClock : public Clock {
 public:
  int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace qv::platform
