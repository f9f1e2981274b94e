#include "platform/event_loop.h"

#include <algorithm>

namespace qv::platform {

namespace {

// Headless: how many times in a row DoEvents may find more work at the same virtual time
// before the run is reported as stuck (a countdown that restarts itself at 0 ms, a
// notification that posts itself again), instead of spinning for ever.
constexpr int kHeadlessBusyRoundsLimit = 100000;

// Counts a wait for as long as it runs, also when it ends with an error.
class WaitDepth {
 public:
  explicit WaitDepth(int& depth) : depth_(depth) { ++depth_; }
  ~WaitDepth() { --depth_; }
  WaitDepth(const WaitDepth&) = delete;
  WaitDepth& operator=(const WaitDepth&) = delete;

 private:
  int& depth_;
};

// Counts the rounds in a row in which a headless wait found more work at one virtual time.
class BusyRounds {
 public:
  bool TooMany(const Backend& backend, int64_t now) {
    if (!backend.headless()) return false;
    if (now != time_) {
      time_ = now;
      rounds_ = 0;
    }
    return ++rounds_ > kHeadlessBusyRoundsLimit;
  }
  // The player caught up: what comes next starts a new count.
  void Reset() { rounds_ = 0; }

 private:
  int64_t time_ = -1;
  int rounds_ = 0;
};

}  // namespace

EventLoop::EventLoop(Backend& backend) : backend_(backend), timers_(backend.clock()) {
  RequestRedraw();  // the first frame draws everything
}

void EventLoop::RequestRedraw() {
  damage_.Add({0, 0, backend_.screen_width(), backend_.screen_height()});
}

void EventLoop::Damage(const Rect& rect) {
  damage_.Add(Intersect(rect, {0, 0, backend_.screen_width(), backend_.screen_height()}));
}

void EventLoop::Post(std::function<void()> notification) {
  posted_.push_back({next_notification_++, std::move(notification)});
}

void EventLoop::FetchInput() {
  InputEvent event;
  while (backend_.PollInput(event)) {
    // Mouse moves that nobody has seen yet merge into the latest one, as window systems
    // merge theirs: a hover handler runs once for the pointer's newest place.
    if (event.kind == InputEvent::Kind::kMouseMove && !input_.empty() &&
        input_.back().kind == InputEvent::Kind::kMouseMove) {
      input_.back() = event;
    } else {
      input_.push_back(event);
    }
  }
}

void EventLoop::Dispatch(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::kQuit:
      quit_requested_ = true;
      if (on_quit_) {
        auto on_quit = on_quit_;  // the handler may replace itself
        on_quit();
      }
      break;
    case InputEvent::Kind::kExposed:
      RequestRedraw();
      break;
    case InputEvent::Kind::kCommand:
      if (command_handler_) {
        auto handler = command_handler_;  // the handler may replace itself
        handler(event.command);
      }
      break;
    default:
      if (input_sink_) input_sink_->HandleInput(event);
      break;
  }
}

bool EventLoop::TimerDue() const {
  auto next = timers_.NextDeadline();
  return next && *next <= NowMs();
}

void EventLoop::DoEvents() {
  // Input that arrived until now; handlers that let events run take the later events
  // themselves.
  FetchInput();
  while (!input_.empty()) {
    InputEvent event = std::move(input_.front());
    input_.pop_front();
    Dispatch(event);
  }

  // Notifications posted before this call; what their handlers post waits for the next.
  const uint64_t posted_before = next_notification_;
  while (!posted_.empty() && posted_.front().number < posted_before) {
    auto run = std::move(posted_.front().run);
    posted_.pop_front();
    if (run) run();
  }

  timers_.FireDue();

  if (!damage_.empty()) {
    const std::vector<Rect> damage = damage_.Take();
    if (painter_) {
      backend_.Present(damage, [this](Renderer& renderer) { painter_->Paint(renderer); });
    }
  }
}

bool EventLoop::Idle() {
  FetchInput();
  return input_.empty() && posted_.empty() && damage_.empty() && !TimerDue();
}

void EventLoop::WaitUntil(const std::function<bool()>& done, std::string_view what) {
  Wait(done, /*for_user=*/false, what);
}

void EventLoop::WaitForUser(const std::function<bool()>& done, std::string_view what) {
  Wait(done, /*for_user=*/true, what);
}

void EventLoop::Wait(const std::function<bool()>& done, bool for_user, std::string_view what) {
  WaitDepth depth(wait_depth_);
  const int64_t started = NowMs();
  BusyRounds busy;
  while (!done()) {
    DoEvents();
    if (done()) return;
    if (!Idle()) {
      if (busy.TooMany(backend_, NowMs())) ThrowBusy(what);
      continue;
    }
    busy.Reset();
    // Idle at the current time: the scripted user, when there is one (headless, or a
    // script run with a window), acts in waits that only a user can end, once the
    // player has finished what it is in the middle of (no transient timer pending).
    if (for_user && idle_user_ && !timers_.TransientPending()) {
      if (!idle_user_->Act()) throw RunFinished{};
      continue;
    }
    const std::optional<int64_t> next = timers_.NextDeadline();
    if (!backend_.headless()) {
      backend_.WaitForInput(next);
      continue;
    }
    // Headless: virtual time jumps to the next deadline.
    if (!next) ThrowDeadlock(what, for_user, started, /*over_limit=*/false);
    if (*next - started > kHeadlessWaitLimitMs) {
      ThrowDeadlock(what, for_user, started, /*over_limit=*/true);
    }
    backend_.WaitForInput(next);
  }
}

void EventLoop::ThrowDeadlock(std::string_view what, bool for_user, int64_t started_ms,
                              bool over_limit) const {
  std::string message = "Deadlock: ";
  if (!what.empty()) {
    message += "waiting for " + std::string(what);
  } else {
    message += for_user ? "waiting for the user" : "waiting";
  }
  message += " since " + std::to_string(started_ms) + " ms (now " + std::to_string(NowMs()) +
             " ms, " + std::to_string(wait_depth_) + (wait_depth_ == 1 ? " wait" : " waits") +
             " deep): ";
  if (over_limit) {
    message += "the wait has not ended after " + std::to_string(kHeadlessWaitLimitMs) +
               " ms of virtual time";
  } else if (for_user) {
    message += "no scripted user acts and no timer is running";
  } else {
    message += "no timer is running and nothing is pending that could end it";
  }
  throw Deadlock{message};
}

void EventLoop::ThrowBusy(std::string_view what) const {
  std::string message = "Deadlock: work keeps coming at " + std::to_string(NowMs()) +
                        " ms without end (something renews itself without letting time pass)";
  if (!what.empty()) message += " while waiting for " + std::string(what);
  throw Deadlock{message};
}

void EventLoop::PassTime(int64_t ms) {
  const int64_t until = NowMs() + std::max<int64_t>(ms, 0);
  BusyRounds busy;
  while (true) {
    DoEvents();
    if (!Idle()) {
      if (busy.TooMany(backend_, NowMs())) ThrowBusy("time to pass");
      continue;
    }
    busy.Reset();
    if (NowMs() >= until) return;
    // Step to each deadline in turn so timers fire in order, each at its own time.
    const std::optional<int64_t> next = timers_.NextDeadline();
    backend_.WaitForInput(next ? std::min(*next, until) : until);
  }
}

}  // namespace qv::platform
