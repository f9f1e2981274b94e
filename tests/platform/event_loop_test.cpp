#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/timer_service.h"
#include "test_support.h"

namespace qv::platform {
namespace {

using Log = std::vector<std::string>;

class CountingPainter : public Painter {
 public:
  void Paint(Renderer& renderer) override {
    ++paints;
    renderer.FillRect({0, 0, 10, 10}, Rgb{1, 2, 3});
  }
  int paints = 0;
};

InputEvent Event(InputEvent::Kind kind, int x = 0, int y = 0) {
  return {.kind = kind, .x = x, .y = y, .button = MouseButton::kLeft, .text = {}};
}

// The loop on the headless backend; the test is the sink that input reaches.
class EventLoopTest : public ::testing::Test, public InputSink {
 protected:
  EventLoopTest() { loop.SetInputSink(this); }
  void HandleInput(const InputEvent& event) override { input.push_back(event); }
  std::string Stamp(const std::string& what) { return what + "@" + std::to_string(loop.NowMs()); }

  HeadlessBackend backend;
  EventLoop loop{backend};
  std::vector<InputEvent> input;
  Log log;
};

TEST_F(EventLoopTest, PostedNotificationsRunAtTheNextDoEventsInOrderAlsoInsideAWaitInAnother) {
  loop.Post([&] {
    log.push_back("loaded");
    loop.Post([&] { log.push_back("posted by a notification"); });
  });
  loop.Post([&] { log.push_back("ended"); });
  EXPECT_TRUE(log.empty()) << "never inside Post";
  EXPECT_FALSE(loop.Idle());
  loop.DoEvents();
  EXPECT_EQ(log, (Log{"loaded", "ended"}));
  loop.DoEvents();
  EXPECT_EQ(log, (Log{"loaded", "ended", "posted by a notification"}));

  loop.Post([&] { log.push_back("ran"); });
  loop.WaitUntil([] { return true; });
  EXPECT_EQ(log.size(), 3u) << "a wait that has already ended lets nothing run";
  loop.DoEvents();
  log.clear();

  // The first notification's handler waits for the second, which was posted before it
  // ran: the nested wait must let it run, or the wait could never end.
  bool picture_loaded = false;
  loop.Post([&] {
    loop.WaitUntil([&] { return picture_loaded; }, "the picture to load");
    log.push_back("continued after the load");
  });
  loop.Post([&] { picture_loaded = true; });
  loop.DoEvents();
  EXPECT_EQ(log, (Log{"continued after the load"}));
}

TEST_F(EventLoopTest, InputGoesToTheSinkAndPendingMovesMerge) {
  backend.InjectInput(Event(InputEvent::Kind::kMouseMove, 1, 1));
  backend.InjectInput(Event(InputEvent::Kind::kMouseMove, 2, 2));
  backend.InjectInput(Event(InputEvent::Kind::kMouseDown, 3, 3));
  backend.InjectInput(Event(InputEvent::Kind::kMouseMove, 4, 4));
  loop.DoEvents();
  ASSERT_EQ(input.size(), 3u);
  EXPECT_EQ(input[0].x, 2) << "moves nobody saw yet merge into the newest";
  EXPECT_EQ(input[1].kind, InputEvent::Kind::kMouseDown);
  EXPECT_EQ(input[2].x, 4);
}

TEST_F(EventLoopTest, FramesArePresentedOnlyWhenSomethingChanged) {
  CountingPainter painter;
  loop.SetPainter(&painter);
  loop.DoEvents();
  EXPECT_EQ(painter.paints, 1) << "the first frame";
  loop.DoEvents();
  loop.DoEvents();
  EXPECT_EQ(painter.paints, 1);
  EXPECT_TRUE(loop.Idle());
  loop.RequestRedraw();
  loop.RequestRedraw();
  EXPECT_FALSE(loop.Idle());
  loop.DoEvents();
  EXPECT_EQ(painter.paints, 2) << "requests between frames make one frame";
  backend.InjectInput(Event(InputEvent::Kind::kExposed));
  loop.DoEvents();
  EXPECT_EQ(painter.paints, 3);
  EXPECT_EQ(backend.frames_presented(), 3);
  EXPECT_EQ(backend.renderer().last_frame().size(), 1u);
}

TEST_F(EventLoopTest, ATickHandledInsideAHandlerThatWaitsForAnotherTimer) {
  // A scene timer's handler waits for a movie; the animation timer keeps ticking inside
  // that wait, and the movie's end ends it.
  bool movie_ended = false;
  int depth_in_frame = 0;
  Timer animation(loop.timers(), [&] {
    log.push_back(Stamp("frame"));
    depth_in_frame = loop.wait_depth();
  });
  animation.SetInterval(100);
  Countdown movie(loop.timers(), [&](int16_t) {
    movie_ended = true;
    log.push_back(Stamp("movie ended"));
  });
  movie.SetDuration(250);
  bool scene_done = false;
  Timer scene(loop.timers());
  scene.SetOnTick([&] {
    scene.SetEnabled(false);
    log.push_back(Stamp("scene timer"));
    animation.SetEnabled(true);
    movie.SetEnabled(true);
    loop.WaitUntil([&] { return movie_ended; }, "the movie to end");
    scene_done = true;
    log.push_back(Stamp("scene timer done"));
  });
  scene.SetInterval(1000);
  scene.SetEnabled(true);
  loop.WaitUntil([&] { return scene_done; });
  EXPECT_EQ(log, (Log{"scene timer@1000", "frame@1100", "frame@1200", "movie ended@1250",
                      "scene timer done@1250"}));
  EXPECT_EQ(depth_in_frame, 2) << "the frames ran in the wait inside the outer wait";
}

TEST_F(EventLoopTest, AWaitThatCannotEndIsADeadlockNamingWhatItWaitedFor) {
  const auto deadlock_of = [&](const char* what) {
    try {
      loop.WaitUntil([] { return false; }, what);
    } catch (const Deadlock& deadlock) {
      return deadlock.what;
    }
    return std::string("returned");
  };
  const std::string nothing_runs = deadlock_of("the picture of object 3 to load");
  EXPECT_NE(nothing_runs.find("the picture of object 3 to load"), std::string::npos);
  EXPECT_NE(nothing_runs.find("no timer is running"), std::string::npos) << nothing_runs;
  EXPECT_EQ(loop.wait_depth(), 0) << "the depth is restored when a wait ends in an error";

  // A timer keeps running, but the wait outlasts the limit.
  Timer music(loop.timers(), [] {});
  music.SetInterval(500);
  music.SetEnabled(true);
  EXPECT_NE(deadlock_of("the movie to end").find("the movie to end"), std::string::npos);
  EXPECT_LE(loop.NowMs(), EventLoop::kHeadlessWaitLimitMs);
  EXPECT_GE(loop.NowMs(), EventLoop::kHeadlessWaitLimitMs - 500);
  music.SetEnabled(false);

  // Work that renews itself without time passing.
  Countdown restless(loop.timers());
  restless.SetDuration(0);
  restless.SetOnExpired([&](int16_t) { restless.SetEnabled(true); });
  restless.SetEnabled(true);
  EXPECT_THROW(loop.WaitUntil([] { return false; }), Deadlock);
  restless.SetEnabled(false);
  std::function<void()> repost = [&] { loop.Post(repost); };
  loop.Post(repost);
  EXPECT_THROW(loop.PassTime(10), Deadlock);
}

TEST_F(EventLoopTest, ALongScriptAtOneMomentIsNotMistakenForWorkWithoutEnd) {
  // Every command leaves a notification for one more round; the player catches up each
  // time, so however many there are, this is not a deadlock.
  qv::testing::User user(loop);
  int acts = 0;
  user.actions.assign(150000, [&] {
    ++acts;
    loop.Post([&] { loop.Post([] {}); });
  });
  EXPECT_THROW(loop.WaitForUser([] { return false; }), RunFinished);
  EXPECT_EQ(acts, 150000);
  EXPECT_EQ(loop.wait_depth(), 0);
}

TEST_F(EventLoopTest, PassTimeAndWaitsFireEveryTimerInBetweenInOrder) {
  Timer fast(loop.timers(), [&] { log.push_back(Stamp("fast")); });
  fast.SetInterval(300);
  fast.SetEnabled(true);
  Countdown delay(loop.timers(), [&](int16_t) { log.push_back(Stamp("delay")); });
  delay.SetDuration(500);
  delay.SetEnabled(true);
  Countdown later(loop.timers(), [&](int16_t) { log.push_back(Stamp("later")); });
  later.SetDuration(1001);
  later.SetEnabled(true);
  loop.PassTime(1000);
  EXPECT_EQ(log, (Log{"fast@300", "delay@500", "fast@600", "fast@900"}));
  EXPECT_EQ(loop.NowMs(), 1000);
  loop.PassTime(1);
  EXPECT_EQ(log.back(), "later@1001");
  loop.PassTime(-5);
  EXPECT_EQ(loop.NowMs(), 1001);

  // A wait jumps virtual time to the deadline that ends it.
  fast.SetEnabled(false);
  delay.SetDuration(40000);
  delay.SetEnabled(true);
  loop.WaitUntil([&] { return log.back() != "later@1001"; });
  EXPECT_EQ(log.back(), "delay@41001");
  EXPECT_EQ(loop.wait_depth(), 0);
}

TEST_F(EventLoopTest,
       TheScriptedUserActsOnlyWhenThePlayerIsIdleAndWithoutItAUserWaitEndsOnlyThroughTimers) {
  qv::testing::User user(loop);
  bool closed = false;
  Timer animation(loop.timers(), [&] { log.push_back(Stamp("frame")); });
  animation.SetInterval(100);
  animation.SetEnabled(true);
  loop.Post([&] { log.push_back("loaded"); });
  user.actions = {
      [&] {
        log.push_back(Stamp("user clicks"));
        backend.InjectInput(Event(InputEvent::Kind::kMouseDown, 5, 6));
      },
      [&] {
        log.push_back(Stamp("user waits"));
        loop.PassTime(250);
      },
      [&] {
        log.push_back(Stamp("user closes"));
        closed = true;
      },
  };
  loop.WaitForUser([&] { return closed; }, "the dialog to close");
  EXPECT_EQ(log, (Log{"loaded", "user clicks@0", "user waits@0", "frame@100", "frame@200",
                      "user closes@250"}))
      << "time passes only when the user lets it, in a wait only the user ends";
  ASSERT_EQ(input.size(), 1u);
  EXPECT_EQ(input[0].x, 5);

  // With nobody to act, a countdown may still end the wait.
  loop.SetIdleUser(nullptr);
  animation.SetEnabled(false);
  closed = false;
  Countdown auto_close(loop.timers(), [&](int16_t) { closed = true; });
  auto_close.SetDuration(700);
  auto_close.SetEnabled(true);
  loop.WaitForUser([&] { return closed; });
  EXPECT_EQ(loop.NowMs(), 250 + 700);
  EXPECT_THROW(loop.WaitForUser([] { return false; }, "a modal window"), Deadlock)
      << "nobody to end it";
}

// A service on a clock the test moves by hand; FireDue is what DoEvents calls.
struct Timers {
  VirtualClock clock;
  TimerService service{clock};
  std::vector<std::string> fired;  // "name@ms"

  void At(int64_t ms) {
    clock.AdvanceTo(ms);
    service.FireDue();
  }
  std::function<void()> Log(const std::string& name) {
    return [this, name] { fired.push_back(name + "@" + std::to_string(clock.NowMs())); };
  }
};

using Fired = std::vector<std::string>;

TEST(Timer, TicksEveryIntervalCountedFromWhenItWasEnabledOrLastChangedOrLastTicked) {
  Timers t;
  Timer timer(t.service, t.Log("t"));
  timer.SetInterval(-5);
  timer.SetEnabled(true);
  t.At(100);
  EXPECT_FALSE(t.service.NextDeadline().has_value()) << "no positive interval, no tick";
  timer.SetInterval(100);
  t.At(190);
  timer.SetEnabled(false);
  timer.SetEnabled(true);  // at 190: the next tick is at 290, not 200
  t.At(200);
  t.At(290);
  timer.SetInterval(300);  // at 290, while enabled: next at 590
  t.At(589);
  t.At(590);
  timer.SetEnabled(true);  // already enabled: no restart
  t.At(890);
  t.At(1600);  // two intervals late: one tick, and the next interval counts from now
  t.At(1900);
  EXPECT_EQ(t.fired, (Fired{"t@290", "t@590", "t@890", "t@1600", "t@1900"}));
}

TEST(Timer, DoesNotTickInsideItsOwnTickHandler) {
  Timers t;
  int depth = 0;
  int ticks = 0;
  Timer timer(t.service);
  timer.SetOnTick([&] {
    ++ticks;
    ++depth;
    ASSERT_EQ(depth, 1) << "a tick nested in the same timer's tick";
    // The handler lets events run while time passes, as a wait inside a tick does.
    for (int64_t ms = t.clock.NowMs() + 100; ms <= 1000; ms += 100)
      t.At(ms);
    --depth;
  });
  timer.SetInterval(100);
  timer.SetEnabled(true);
  t.At(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(*t.service.NextDeadline(), 1100) << "the ticks missed meanwhile are dropped";
  t.At(1100);
  EXPECT_EQ(ticks, 2);
}

// Timers due at the same moment fire in the order they were made, whatever the order
// they were enabled in; a handler may destroy or restart any of them, itself included.
TEST(TimerService, HandlersMayDestroyOrRestartTimersThatAreDueTooInTheOrderTheyWereMade) {
  Timers t;
  std::unique_ptr<Timer> victim;
  std::unique_ptr<Countdown> restarted;
  Timer killer(t.service, [&] {  // created first, so it fires first among equals
    victim.reset();
    restarted->SetEnabled(true);  // enabled again at once, 0 ms: fires at the next call
    t.fired.push_back("killer");
  });
  victim = std::make_unique<Timer>(t.service, t.Log("victim"));
  restarted = std::make_unique<Countdown>(t.service, [&](int16_t tag) {
    t.fired.push_back("restarted " + std::to_string(tag));
    restarted.reset();
  });
  restarted->SetTag(7);
  for (Timer* timer : {victim.get(), &killer}) {
    timer->SetInterval(100);
    timer->SetEnabled(true);
  }
  restarted->SetDuration(0);
  t.clock.AdvanceTo(100);
  restarted->SetEnabled(true);  // due now too
  t.service.FireDue();
  EXPECT_EQ(t.fired, (Fired{"killer"})) << "destroyed and restarted entries wait";
  t.service.FireDue();
  EXPECT_EQ(t.fired, (Fired{"killer", "restarted 7"}));
  EXPECT_FALSE(restarted);
}

}  // namespace
}  // namespace qv::platform
