#include "platform/timer_service.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qv::platform {
namespace {

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
  timer.SetEnabled(false);
  t.At(5000);
  EXPECT_EQ(t.fired.size(), 5u) << "a disabled timer never ticks";

  timer.SetOnTick([&] {  // a one-shot timer disables itself in its tick
    timer.SetEnabled(false);
    t.fired.push_back("once");
  });
  timer.SetEnabled(true);
  for (int64_t ms = 5100; ms <= 6000; ms += 100)
    t.At(ms);
  EXPECT_EQ(t.fired.back(), "once");
  EXPECT_EQ(t.fired.size(), 6u);
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

TEST(TimerService, FiresDueTimersInDeadlineOrderTiesInCreationOrder) {
  Timers t;
  Timer a(t.service, t.Log("a"));
  Timer b(t.service, t.Log("b"));
  Countdown c(t.service, [&](int16_t) { t.fired.push_back("c"); });
  Timer d(t.service, t.Log("d"));
  d.SetInterval(50);
  b.SetInterval(100);
  a.SetInterval(100);
  c.SetDuration(100);
  for (Timer* timer : {&d, &b, &a})
    timer->SetEnabled(true);
  c.SetEnabled(true);
  t.At(120);
  EXPECT_EQ(t.fired, (Fired{"d@120", "a@120", "b@120", "c"}));
}

TEST(TimerService, HandlersMayDestroyOrRestartTimersThatAreDueToo) {
  Timers t;
  std::unique_ptr<Timer> victim;
  std::unique_ptr<Countdown> restarted;
  Timer killer(t.service, [&] {  // created first, so it fires first among equals
    victim.reset();
    restarted->SetEnabled(true);  // enabled again at once, 0 ms: fires at the next call
    t.fired.push_back("killer");
  });
  victim = std::make_unique<Timer>(t.service, t.Log("victim"));
  restarted =
      std::make_unique<Countdown>(t.service, [&](int16_t) { t.fired.push_back("restarted"); });
  for (Timer* timer : {&killer, victim.get()}) {
    timer->SetInterval(100);
    timer->SetEnabled(true);
  }
  restarted->SetDuration(0);
  t.clock.AdvanceTo(100);
  restarted->SetEnabled(true);  // due now too
  t.service.FireDue();
  EXPECT_EQ(t.fired, (Fired{"killer"})) << "destroyed and restarted entries wait";
  t.service.FireDue();
  EXPECT_EQ(t.fired, (Fired{"killer", "restarted"}));
}

TEST(Countdown, ExpiresOnceAtTheFirstChanceAfterItsDurationAndMayBeDestroyedThen) {
  Timers t;
  auto countdown = std::make_unique<Countdown>(t.service);
  countdown->SetOnExpired([&](int16_t tag) {
    countdown.reset();
    t.fired.push_back(std::to_string(tag) + "@" + std::to_string(t.clock.NowMs()));
  });
  countdown->SetDuration(3000);
  countdown->SetTag(7);
  t.At(1000);
  countdown->SetEnabled(true);
  t.At(3999);
  EXPECT_TRUE(t.fired.empty());
  t.At(4500);
  t.At(9000);
  EXPECT_EQ(t.fired, (Fired{"7@4500"})) << "the expiry comes at the first chance after";
  EXPECT_FALSE(t.service.NextDeadline().has_value());
}

}  // namespace
}  // namespace qv::platform
