#include "platform/timer_service.h"

#include <algorithm>
#include <tuple>

namespace qv::platform {

namespace {

// Marks a timer as inside its tick handler for as long as the handler runs, also when it
// ends with an error.
class TickingMark {
 public:
  TickingMark(std::vector<uint64_t>& ticking, uint64_t id) : ticking_(ticking), id_(id) {
    ticking_.push_back(id);
  }
  ~TickingMark() { ticking_.erase(std::find(ticking_.begin(), ticking_.end(), id_)); }
  TickingMark(const TickingMark&) = delete;
  TickingMark& operator=(const TickingMark&) = delete;

 private:
  std::vector<uint64_t>& ticking_;
  uint64_t id_;
};

}  // namespace

Timer::Timer(TimerService& service, std::function<void()> on_tick)
    : service_(service), id_(service.Register()), on_tick_(std::move(on_tick)) {}

Timer::~Timer() {
  service_.Unschedule(id_);
}

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

Countdown::~Countdown() {
  service_.Unschedule(id_);
}

void Countdown::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled) {
    // Enabling a running countdown starts it again from its full duration. A duration of
    // 0 or less expires at the next chance to process events.
    int64_t duration = std::max<int32_t>(duration_, 0);
    service_.Schedule(id_, {service_.clock().NowMs() + duration, nullptr, this});
  } else {
    service_.Unschedule(id_);
  }
}

void TimerService::Schedule(uint64_t id, Entry entry) {
  entry.schedule = next_schedule_++;
  entries_[id] = entry;
}

bool TimerService::Ticking(uint64_t id) const {
  return std::find(ticking_.begin(), ticking_.end(), id) != ticking_.end();
}

std::optional<int64_t> TimerService::NextDeadline() const {
  std::optional<int64_t> next;
  for (const auto& [id, entry] : entries_) {
    if (!next || entry.deadline < *next) next = entry.deadline;
  }
  return next;
}

bool TimerService::TransientPending() const {
  for (const auto& [id, entry] : entries_) {
    if (entry.timer != nullptr && entry.timer->transient_) return true;
  }
  return false;
}

bool TimerService::FireDue() {
  const int64_t now = clock_.NowMs();
  std::vector<std::tuple<int64_t, uint64_t, uint64_t>> due;  // (deadline, id, schedule)
  for (const auto& [id, entry] : entries_) {
    if (entry.deadline <= now) due.emplace_back(entry.deadline, id, entry.schedule);
  }
  std::sort(due.begin(), due.end());
  bool fired = false;
  for (const auto& [deadline, id, schedule] : due) {
    // An earlier handler may have destroyed, disabled or restarted this one; a restarted
    // one counts from its restart and fires at a later call.
    auto it = entries_.find(id);
    if (it == entries_.end() || it->second.schedule != schedule) continue;
    if (Timer* timer = it->second.timer) {
      // The next tick counts from now, so a late tick does not bunch up.
      it->second.deadline = now + timer->interval_;
      it->second.schedule = next_schedule_++;
      if (Ticking(id) || !timer->on_tick_) continue;
      fired = true;
      auto tick = timer->on_tick_;  // the handler may replace or destroy the timer
      TickingMark mark(ticking_, id);
      tick();
    } else if (Countdown* countdown = it->second.countdown) {
      entries_.erase(it);
      countdown->enabled_ = false;
      fired = true;
      if (countdown->on_expired_) {
        auto expired = countdown->on_expired_;  // the handler may destroy the countdown
        expired(countdown->tag_);
      }
    }
  }
  return fired;
}

}  // namespace qv::platform
