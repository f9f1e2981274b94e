#pragma once
// The only clocks the player knows: the real one (SDL's tick counter) and the virtual one
// of headless runs. Nothing else in the player reads the time.

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

}  // namespace qv::platform
