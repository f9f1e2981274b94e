#include "platform/timer_service.h"

#include <algorithm>
#include <vector>

namespace qv::platform {

Timer::Timer(TimerService& service, std::function<void()> on_tick)
    : service_(service), id_(service.Register()), on_tick_(std::move(on_tick)) {}

Timer::~Timer() { service_.Unschedule(id_); }

void Timer::SetInterval(int32_t ms) {
  interval_ = ms;
  Reschedule();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Reschedule();
}

void Timer::Reschedule() {
  if (enabled_ && interval_ > 0) {
    service_.Schedule(id_, {service_.clock().NowMs() + interval_, this, nullptr});
  } else {
    service_.Unschedule(id_);
  }
}

Countdown::Countdown(TimerService& service, std::function<void(int16_t)> on_expired)
    : service_(service), id_(service.Register()), on_expired_(std::move(on_expired)) {}

Countdown::~Countdown() { service_.Unschedule(id_); }

void Countdown::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled) {
    // A duration of 0 or less expires at the next chance to process events.
    int64_t duration = std::max<int32_t>(duration_, 0);
    service_.Schedule(id_, {service_.clock().NowMs() + duration, nullptr, this});
  } else {
    service_.Unschedule(id_);
  }
}

std::optional<int64_t> TimerService::NextDeadline() const {
  std::optional<int64_t> next;
  for (const auto& [id, entry] : entries_) {
    if (!next || entry.deadline < *next) next = entry.deadline;
  }
  return next;
}

bool TimerService::FireDue() {
  const int64_t now = clock_.NowMs();
  std::vector<std::pair<int64_t, uint64_t>> due;  // (deadline, id)
  for (const auto& [id, entry] : entries_) {
    if (entry.deadline <= now) due.emplace_back(entry.deadline, id);
  }
  std::sort(due.begin(), due.end());
  for (const auto& [deadline, id] : due) {
    // An earlier handler may have destroyed, disabled or restarted this one.
    auto it = entries_.find(id);
    if (it == entries_.end() || it->second.deadline != deadline) continue;
    if (Timer* timer = it->second.timer) {
      // The next tick counts from now, so a late tick does not bunch up.
      it->second.deadline = now + timer->interval_;
      if (timer->on_tick_) {
        auto tick = timer->on_tick_;  // the handler may replace or destroy the timer
        tick();
      }
    } else if (Countdown* countdown = it->second.countdown) {
      entries_.erase(it);
      countdown->enabled_ = false;
      if (countdown->on_expired_) {
        auto expired = countdown->on_expired_;
        expired(countdown->tag_);
      }
    }
  }
  return !due.empty();
}

}  // namespace qv::platform
