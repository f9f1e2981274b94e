#pragma once
// The timer control of the forms (ScnTimer, BlockTimer, MsgTimer, ...): while enabled it
// ticks every Interval milliseconds from the event loop; enabling it, or setting its
// interval while enabled, starts the interval again; a one-shot timer disables itself in
// its tick. As on the forms, a new timer is enabled with an interval of 0, which never
// ticks. It is a thin named handle on the platform's timer service.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/timer_service.h"

namespace qv::ui {

class Timer {
 public:
  Timer(platform::TimerService& service, std::string name, int index = 0);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& name() const { return name_; }
  int index() const { return index_; }

  int32_t Interval() const { return timer_.Interval(); }
  void SetInterval(int32_t ms) { timer_.SetInterval(ms); }
  bool Enabled() const { return timer_.Enabled(); }
  void SetEnabled(bool enabled) { timer_.SetEnabled(enabled); }
  // See platform::Timer::SetTransient.
  void SetTransient(bool transient) { timer_.SetTransient(transient); }

  // The tick handler (the timer's Timer event).
  std::function<void()> on_tick;

 private:
  std::string name_;
  int index_;
  platform::Timer timer_;
};

}  // namespace qv::ui
