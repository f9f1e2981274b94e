#include "engine/delays.h"

#include <algorithm>
#include <exception>
#include <string>

#include "core/procedure.h"
#include "core/text.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

// The length an idle countdown is given.
constexpr int32_t kIdleDurationMs = 3000;
// The shortest wait of a delay that expired while a scene was loading. A delay of 0
// seconds would otherwise expire, restart and log again every millisecond for as long
// as the load waits (for its pictures, or an entry movie).
constexpr int32_t kShortestRestartMs = 100;

}  // namespace

Delays::Delays(platform::TimerService& timers) {
  for (int k = 1; k <= 20; ++k)
    countdowns_[k] = std::make_unique<platform::Countdown>(timers);
}

Delays::~Delays() = default;

void Delays::SetUp(int16_t k, int32_t ms) {
  platform::Countdown& countdown = *countdowns_[k];
  // A countdown always runs at least 1 ms: a delay of 0 seconds, or fewer, changes its
  // flag at a later chance to let events run, never inside the call that started it.
  countdown.SetDuration(std::max(ms, int32_t{1}));
  countdown.SetTag(k);
  countdown.SetOnExpired([this](int16_t tag) { CountdownExpired(tag); });
}

template <typename Body>
void Delays::RunTimerProcedure(const char* heading, Body&& body) {
  RunReporting(
      engine_->services().boxes,
      [heading] { return ErrorBoxFormat{heading, "\rErr #", true, ": ", "", BoxIcon::kNone}; },
      std::forward<Body>(body));
}

void Delays::InitTimers() {
  RunTimerProcedure("Error initializing Hi-Resolution Timers.", [&] {
    for (int16_t k = 1; k <= 20; ++k) {
      SetUp(k, kIdleDurationMs);
      countdowns_[k]->SetEnabled(false);
    }
  });
}

void Delays::StopAllTimers() {
  RunTimerProcedure("Error stopping Hi-Resolution Timers.", [&] {
    for (int16_t k = 1; k <= 20; ++k) {
      TimerRunning[k] = 0;
      SetUp(k, kIdleDurationMs);
      countdowns_[k]->SetEnabled(false);
    }
  });
}

void Delays::SetDelayChange(int16_t slot, int16_t flag, int16_t value, int16_t op) {
  DelayFlag[slot] = flag;
  DelayValue[slot] = value;
  DelayOp[slot] = op;
}

void Delays::StartDelay(int16_t slot, int16_t seconds) {
  if (engine_->GameEnded()) return;
  int32_t ms = 0;
  if (seconds == 0) ms = 1;
  if (seconds > 0) {
    ms = int32_t{seconds} * 1000;
    if (data::DelayObject::Read(engine_->scene(), slot).busy_cursor) {
      DelayBusyCursor[slot] = true;
      engine_->services().screen.ShowCursor(kBusyCursor);
    }
  }
  DelaySecs[slot] = seconds;
  StartTimer(slot, ms);
}

void Delays::StartTimer(int16_t TimerNum, int32_t TimerVal) {
  RunTimerProcedure("Error setting Hi-Resolution Timer.", [&] {
    platform::Countdown& countdown = *countdowns_[TimerNum];
    if (countdown.Enabled()) countdown.SetEnabled(false);
    SetUp(TimerNum, TimerVal);
    countdown.SetEnabled(true);
    TimerRunning[TimerNum] = 1;
    engine_->Progress("Delay" + NumText(TimerNum) + " started. (" + PlainNum(DelaySecs[TimerNum]) +
                      " secs)");
  });
}

void Delays::CountdownExpired(int16_t n) {
  RunTimerProcedure("Error expiring Hi-Resolution Timer.", [&] {
    platform::Countdown& countdown = *countdowns_[n];
    if (engine_->SceneChanging) {
      // Expired while a scene was being built: the change waits for the whole length
      // again, and the slot keeps running.
      countdown.SetEnabled(false);
      SetUp(n, std::max(int32_t{DelaySecs[n]} * 1000, kShortestRestartMs));
      countdown.SetEnabled(true);
      engine_->Progress("Delay" + NumText(n) + " restarted. (" + PlainNum(DelaySecs[n]) +
                        " secs) " + "<Loading scene>");
      return;
    }
    TimerRunning[n] = 0;
    countdown.SetEnabled(false);
    engine_->Progress("Delay" + NumText(n) + " expired.");
    DelayBusyCursor[n] = false;
    if (std::none_of(DelayBusyCursor.begin() + 1, DelayBusyCursor.end(),
                     [](bool busy) { return busy; })) {
      engine_->services().screen.ShowCursor(kDefaultCursor);
    }
    engine_->ChangeFlag(DelayFlag[n], DelayValue[n], DelayOp[n]);
  });
}

}  // namespace qv::engine
