#pragma once
// The one primitive for letting events run, which the game's rules depend on: handlers
// run inside other handlers' waits, and nesting is normal.
//
//  - DoEvents(): runs the input events and component notifications that are pending,
//    and the timers due now (each at most once); then presents a frame if anything
//    changed. Work that these handlers post runs at the next DoEvents.
//  - WaitUntil(done): lets events run until done() holds, sleeping in the backend until
//    the next event or deadline; for waits that timers and notifications end (a picture
//    loading, a scene timer, a movie ending). Headless, time jumps to the next deadline;
//    when nothing could ever end the wait it throws Deadlock.
//  - WaitForUser(done): the same for waits that only the user ends (a modal window).
//    The scripted user, when there is one, acts whenever the player is idle in such a wait.
//
// The application's own main loop is a WaitForUser at depth 0 (until the exit sequence
// has run): that is where the scripted user acts between waits.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/damage.h"
#include "platform/timer_service.h"

namespace qv::platform {

// Thrown when a headless wait can never end. Not a std::exception: the game's procedure
// boundaries must not swallow it; it ends the run.
struct Deadlock {
  std::string what;
};

// Thrown when the scripted user has nothing more to do. Not a std::exception either.
struct RunFinished {};

// Where input events go (the desktop of forms routes them). kQuit, kExposed and
// kCommand are the loop's own business and do not arrive here.
class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void HandleInput(const InputEvent& event) = 0;
};

// What draws the virtual screen.
class Painter {
 public:
  virtual ~Painter() = default;
  virtual void Paint(Renderer& renderer) = 0;
};

// The scripted user of walkthrough scripts (headless, or with a window): asked to act
// whenever the player is idle (at the top level or in a WaitForUser). Returns false when
// it has nothing more to do.
class IdleUser {
 public:
  virtual ~IdleUser() = default;
  virtual bool Act() = 0;
};

class EventLoop {
 public:
  explicit EventLoop(Backend& backend);
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  Backend& backend() { return backend_; }
  TimerService& timers() { return timers_; }
  int64_t NowMs() const { return backend_.clock().NowMs(); }

  void SetInputSink(InputSink* sink) { input_sink_ = sink; }
  void SetPainter(Painter* painter) { painter_ = painter; }
  void SetIdleUser(IdleUser* user) { idle_user_ = user; }
  // Where the player's own commands (Alt+Enter, Alt+S, Ctrl+M, ...) go; without a
  // handler they are dropped.
  void SetCommandHandler(std::function<void(PlayerCommand)> handler) {
    command_handler_ = std::move(handler);
  }

  // The user asked to close the player (closed the window). The flag stays set until
  // cleared; on_quit, when set, runs inside the DoEvents that handled the request, so the
  // application can start its exit sequence there.
  void SetOnQuit(std::function<void()> on_quit) { on_quit_ = std::move(on_quit); }
  bool quit_requested() const { return quit_requested_; }
  void ClearQuitRequest() { quit_requested_ = false; }

  // Queues a component notification (picture loaded, animation ended, movie stopped) to
  // run at the next DoEvents, never inside the call that posts it.
  void Post(std::function<void()> notification);

  // The whole screen must be drawn again: the next DoEvents presents a full frame.
  void RequestRedraw();
  // Something on screen changed inside `rect` (screen pixels): the next DoEvents
  // presents a frame that repaints the damaged parts.
  void Damage(const Rect& rect);

  void DoEvents();
  // `what` names the wait in a Deadlock report ("the picture of object 3 to load").
  void WaitUntil(const std::function<bool()>& done, std::string_view what = {});
  void WaitForUser(const std::function<bool()>& done, std::string_view what = {});

  // True when nothing is pending at the current time (no input, no notification, no
  // timer due, no frame to present).
  bool Idle();

  // Lets `ms` of time pass while events run, firing every timer in between in deadline
  // order (headless: in virtual time, at once). The scripted user's `wait MS`.
  void PassTime(int64_t ms);

  // How deeply waits are nested now (0 at the top level).
  int wait_depth() const { return wait_depth_; }

  // Headless: the longest a self-ending wait may take in virtual time before it is
  // reported as a deadlock (a movie that never ends while music timers tick on). Work
  // that renews itself without end at one virtual time is reported as a deadlock too.
  static constexpr int64_t kHeadlessWaitLimitMs = 60 * 60 * 1000;

 private:
  struct Notification {
    uint64_t number;  // posting order
    std::function<void()> run;
  };

  void Wait(const std::function<bool()>& done, bool for_user, std::string_view what);
  [[noreturn]] void ThrowBusy(std::string_view what) const;
  [[noreturn]] void ThrowDeadlock(std::string_view what, bool for_user, int64_t started_ms,
                                  bool over_limit) const;
  void FetchInput();
  void Dispatch(const InputEvent& event);
  bool TimerDue() const;

  Backend& backend_;
  TimerService timers_;
  std::deque<InputEvent> input_;  // taken from the backend, not yet handled
  std::deque<Notification> posted_;
  uint64_t next_notification_ = 0;
  InputSink* input_sink_ = nullptr;
  Painter* painter_ = nullptr;
  IdleUser* idle_user_ = nullptr;
  std::function<void()> on_quit_;
  std::function<void(PlayerCommand)> command_handler_;
  bool quit_requested_ = false;
  DamageRegion damage_;
  int wait_depth_ = 0;
};

}  // namespace qv::platform
