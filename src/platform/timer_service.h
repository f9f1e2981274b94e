#pragma once
// One timer service drives both kinds of timers the game uses, from the event loop only
// (never from another thread):
//  - Timer: a VB-style timer control. While enabled it ticks every Interval ms; enabling
//    it, or changing its interval while enabled, starts the interval again. One-shot
//    timers disable themselves in their tick. An interval of 0 (or less) never ticks.
//    A timer does not tick again while its own tick handler is still running (a handler
//    that lets events run would otherwise nest ticks of itself without end); the ticks it
//    misses are dropped, as window timers merge theirs.
//  - Countdown: one of the game screen's delay countdowns. Enabling starts it from its
//    full duration; disabling stops it without a notification; the expiry is delivered
//    once, through the event loop, naming the countdown by its tag. After the expiry the
//    countdown is no longer enabled. A duration of 0 (or less) expires at the next
//    DoEvents, never inside the call that enabled it.
// Both are handles: destroying one removes it from the service.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/clock.h"

namespace qv::platform {

class TimerService;

class Timer {
 public:
  explicit Timer(TimerService& service, std::function<void()> on_tick = {});
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void SetInterval(int32_t ms);
  int32_t Interval() const { return interval_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetOnTick(std::function<void()> on_tick) { on_tick_ = std::move(on_tick); }

  // A transient timer finishes something the player is in the middle of (the cover over a
  // scene that was just built, the end of an update pass): while one is enabled, the
  // player is not yet ready for the user, and a scripted user waits for it.
  void SetTransient(bool transient) { transient_ = transient; }
  bool Transient() const { return transient_; }

 private:
  friend class TimerService;
  void Reschedule();

  TimerService& service_;
  uint64_t id_;
  int32_t interval_ = 0;
  bool enabled_ = false;
  bool transient_ = false;
  std::function<void()> on_tick_;
};

class Countdown {
 public:
  explicit Countdown(TimerService& service, std::function<void(int16_t tag)> on_expired = {});
  ~Countdown();
  Countdown(const Countdown&) = delete;
  Countdown& operator=(const Countdown&) = delete;

  void SetDuration(int32_t ms) { duration_ = ms; }
  int32_t Duration() const { return duration_; }
  void SetTag(int16_t tag) { tag_ = tag; }
  int16_t Tag() const { return tag_; }
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetOnExpired(std::function<void(int16_t)> on_expired) {
    on_expired_ = std::move(on_expired);
  }

 private:
  friend class TimerService;

  TimerService& service_;
  uint64_t id_;
  int32_t duration_ = 0;
  int16_t tag_ = 0;
  bool enabled_ = false;
  std::function<void(int16_t)> on_expired_;
};

class TimerService {
 public:
  explicit TimerService(const Clock& clock) : clock_(clock) {}

  const Clock& clock() const { return clock_; }

  // The earliest deadline of an enabled timer or running countdown.
  std::optional<int64_t> NextDeadline() const;

  // True while a transient timer is enabled.
  bool TransientPending() const;

  // Fires the timers and countdowns that are due at the current time, in deadline order
  // (ties in creation order), each at most once per call. Handlers may create, enable or
  // destroy timers; what they schedule fires at a later call, never in this one.
  // Returns true when anything fired.
  bool FireDue();

 private:
  friend class Timer;
  friend class Countdown;

  struct Entry {
    int64_t deadline;
    Timer* timer = nullptr;  // one of the two is set
    Countdown* countdown = nullptr;
    uint64_t schedule = 0;  // which scheduling this is: a restart makes a new one
  };

  uint64_t Register() { return next_id_++; }
  void Schedule(uint64_t id, Entry entry);
  void Unschedule(uint64_t id) { entries_.erase(id); }
  bool Ticking(uint64_t id) const;

  const Clock& clock_;
  uint64_t next_id_ = 1;
  uint64_t next_schedule_ = 1;
  std::map<uint64_t, Entry> entries_;  // by id, which is creation order
  std::vector<uint64_t> ticking_;      // timers whose tick handler is running
};

}  // namespace qv::platform
