#pragma once
// The delay timers: a Delay object of the scene postpones a flag change by a whole
// number of seconds. Each of the 20 object slots has one delay slot, backed by one of the
// game screen's countdowns; when it expires, its stored flag change is applied with
// ChangeFlag, which runs the scene's rules again. Leaving a scene does not stop its
// delays: a running delay expires in the next scene. A delay that expires while a scene
// loads runs again for its whole length instead.
//
// The tables are public: a saved game stores and restores them (TimerRunning as 1/0,
// DelaySecs and the flag change of each slot), then restarts the running slots with
// StartTimer(slot, DelaySecs * 1000).

#include <cstdint>
#include <memory>

#include "core/vb_array.h"
#include "data/scene_tables.h"
#include "engine/collaborators.h"
#include "platform/timer_service.h"

namespace qv::engine {

class Engine;

class Delays final : public DelayPort {
 public:
  explicit Delays(platform::TimerService& timers);
  ~Delays() override;
  Delays(const Delays&) = delete;
  Delays& operator=(const Delays&) = delete;

  // The engine whose flags the delays change and whose screen shows the busy cursor.
  // Set once, before InitTimers.
  void Attach(Engine& engine) { engine_ = &engine; }

  // ---- the delay tables, by slot 1..20
  // 1 while the slot's countdown runs, 0 when stopped or expired.
  data::SlotTable<int16_t> TimerRunning;
  // The length in seconds the slot was last started with.
  data::SlotTable<int16_t> DelaySecs;
  // The flag change applied at expiry: flag, value, operation (0 set, 1 add).
  data::SlotTable<int16_t> DelayFlag;
  data::SlotTable<int16_t> DelayValue;
  data::SlotTable<int16_t> DelayOp;
  // True while a delay that asked for the busy cursor is counting.
  data::SlotTable<bool> DelayBusyCursor;

  // DelayPort
  void SetDelayChange(int16_t slot, int16_t flag, int16_t value, int16_t op) override;
  // Starts slot's delay: 0 seconds, or fewer, is 1 ms (the change waits for a later
  // chance to let events run, never the call that started it). A delay whose object has
  // ObjN8 = 1 shows the busy cursor while it counts. A slot outside the tables raises to
  // the caller; slot 0, which has no countdown, shows StartTimer's box.
  void StartDelay(int16_t slot, int16_t seconds) override;
  // Stops every countdown without applying its change (the end of a game, quitting to
  // the menu). A failure shows "Error stopping Hi-Resolution Timers.".
  void StopAllTimers() override;
  void ClearBusyCursorMarks() override { DelayBusyCursor.Fill(false); }

  // The game screen's timer methods. InitTimers runs once when the game screen loads;
  // StartTimer (re)starts countdown TimerNum from its full TimerVal milliseconds. Each
  // reports a failure in its own box and returns.
  void InitTimers();
  void StartTimer(int16_t TimerNum, int32_t TimerVal);

  // The expiry of countdown n (its tag): applies the slot's flag change, or restarts the
  // slot for its whole length while a scene is loading.
  void CountdownExpired(int16_t n);

  // Countdown k (1..20), for checks; raises 9 outside 1..20.
  const platform::Countdown& countdown(int k) const { return *countdowns_[k]; }

 private:
  // The settings every (re)armed countdown gets: duration, tag, and expiry to us.
  void SetUp(int16_t k, int32_t ms);
  // Shows one of the four timer error boxes.
  // Runs a countdown operation; a failure shows its box ("Error setting Hi-Resolution
  // Timer." and the error) and the operation returns.
  template <typename Body>
  void RunTimerProcedure(const char* heading, Body&& body);

  Engine* engine_ = nullptr;
  VbArray<std::unique_ptr<platform::Countdown>, 1, 20> countdowns_;
};

}  // namespace qv::engine
