#pragma once
// The engine: the game flags and ChangeFlag, scene loading and the update pass that
// keeps the scene's objects in step with the flags, and the hidden-object rules that run
// after every flag change. It is re-entrant by design: a flag change runs the rules,
// whose actions change flags (nested passes) and switch scenes, and every wait lets
// other events (delays expiring, clicks) run inside it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "core/procedure.h"
#include "core/vb_error.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "engine/collaborators.h"
#include "engine/game_state.h"
#include "engine/screen_port.h"
#include "media/music.h"
#include "media/sound_channels.h"
#include "platform/event_loop.h"
#include "ui/timer.h"

namespace qv::engine {

struct EngineServices {
  platform::EventLoop& loop;
  MessageBoxService& boxes;
  data::SceneData& data;
  platform::PictureLoader& pictures;
  ScreenPort& screen;
  diag::NotifyLog& log;
  media::SoundChannels& sound;
  media::Music& music;
  MoviePort& movies;
  DelayPort& delays;
  ConversationPort& conversations;
  MapPort& map;
  InventoryPort& inventory;
  ShellPort& shell;
};

class Engine : public media::SoundWatchers {
 public:
  // How deeply flag changes and scene loads may nest before the engine gives up with
  // "Out of stack space" (28): an Ambient object that changes a flag on every update
  // pass never ends by itself.
  static constexpr int kMaxNesting = 200;
  // The same bound in bytes of stack, whichever comes first (sanitizer builds use
  // larger frames).
  static constexpr std::ptrdiff_t kMaxStackBytes = 3 << 20;
  // The longest scene set-up waits for the pictures it asked for, in milliseconds.
  static constexpr int kPictureWaitMs = 10000;

  explicit Engine(EngineServices services);

  // ---- game state and flags
  GameState state;
  HiddenObjectMemories memories;
  ObjectClickState clicks;

  // Applies a flag change (op 0 set, 1 add; others change nothing), logs it, runs the
  // hidden-object rules and then switches scene or runs the update pass. A flag number
  // outside 0..255 (9) and an addition that overflows (6) raise to the caller; the flag
  // keeps its value.
  void ChangeFlag(int16_t flag, int16_t value, int16_t op);
  bool TestFlag(int16_t flag, int16_t op, int16_t value) const;
  bool TestFlag(const data::FlagCondition& c) const { return TestFlag(c.flag, c.op, c.value); }
  void ResetGameState();
  void StopAllSounds();
  // Appends a line to the notify log.
  void NotifyLog(std::string_view text);
  // Appends a progress line when VerboseLog is on.
  void Progress(std::string_view text);

  // A game begins (a new one, or one restored): the end of the last one no longer holds
  // the engine back.
  void StartGame() { game_ended_ = false; }
  // True from the end of a game until the next one starts: nothing of the old scene runs.
  bool GameEnded() const { return game_ended_; }

  // ---- scene loading
  bool SceneChanging = false;
  int16_t PicturesLoaded = 0;
  SlotTable<bool> ObjActive;
  // Completes an update pass: its tick sets ScnTimerDone. 1 ms once a game has started.
  std::unique_ptr<ui::Timer> ScnTimer;
  bool ScnTimerDone = false;
  std::string PendingMovie;
  int16_t PendingMovieParam = 0;

  void LoadScene(int16_t scene_no);
  void UpdateObjData();
  void UpdateObjData2();
  int16_t GetSoundChannel(int16_t kind, int16_t obj, int16_t variant) const;

  // ---- hidden-object rules
  void CheckHiddenObjects();
  void CheckMultiTriggersOnEntry();
  void InitHiddenObjectMemories(int16_t slot);
  // A game sound was asked for: responders waiting for that name react (SoundWatchers).
  bool SoundRequested(const std::string& name) override;

  // How many scene loads have begun: a handler tells by it that its scene was left.
  uint64_t SceneLoadsStarted() const { return loads_started_; }

  data::SceneTables& scene() { return s_.data.scene; }
  const data::SceneTables& scene() const { return s_.data.scene; }
  EngineServices& services() { return s_; }

 private:
  class NestingGuard;
  struct PassState {
    int16_t show_record = 0;
    int16_t show_slot = 0;
    bool hide_requested = false;
    int16_t hide_slot = 0;
  };
  struct PassRequests {
    int16_t entry_record = 0;
    int16_t entry_slot = 0;
    bool entry_requested = false;
  };

  // Runs a flag change or a scene load as one level of the engine's nesting. Past the
  // bound the whole nest unwinds; its outermost level puts the player back in a state
  // it can go on from and lets the caller's handler report "Out of stack space" once.
  template <typename Body>
  void Nested(Body&& body);
  void RecoverFromRunaway();

  // LoadScene, step by step; each returns false when the load ends there.
  bool LoadSceneBody(int16_t scene_no);
  void LeaveScene(int16_t scene_no);
  // The scene's conditional jump: false when another scene was loaded instead.
  bool Jump(int16_t scene_no);
  bool BuildScene(uint64_t this_load);
  void EnterScene();
  // True when a load that started after `load` has completed.
  bool LaterLoadCompleted(uint64_t load) const { return last_completed_load_ > load; }
  // Carries out a pending scene switch; false when the file refused the scene, which
  // then stays as it is.
  bool SwitchScene();

  void UpdateObjDataBody();
  // Prepares the control of slot i for its object, or sets up the memories of a hidden
  // object; returns the picture the object names.
  std::string PrepareObject(int16_t i);
  // Loads one object's picture; returns true when a picture-loaded event will follow.
  bool LoadObjectPicture(int16_t i, const std::string& name);

  void UpdateObjData2Body();
  bool Shown(const data::Visibility& visibility) const;
  // The update pass: which objects are active, showing the active ones, and its end.
  void ActivateObject(int16_t i, PassRequests& requests);
  void ActivateHiddenObject(int16_t i, PassRequests& requests);
  void ShowObject(int16_t i);
  void EndPass(const PassRequests& requests);

  void CheckHiddenObjectsPass();
  void EndOfGame();
  // The slot actions of one hidden-object type; false stops the pass at once.
  bool RunResponder(int16_t i);
  void RunDelay(int16_t i);
  void RunMultiTrigger(int16_t i);
  void RunConversation(int16_t i, PassState& pass);
  void RunFlagConjunction(int16_t i);
  void WaitForMovie();

  EngineServices s_;
  int nesting_ = 0;
  const char* stack_base_ = nullptr;
  // Counts scene loads, so a load can tell that another one ran inside it.
  uint64_t loads_started_ = 0;
  uint64_t last_completed_load_ = 0;
  bool game_ended_ = false;
};

// Counts nested flag changes and scene loads; past the bound, StackExhausted.
class Engine::NestingGuard {
 public:
  explicit NestingGuard(Engine& engine) : engine_(engine) {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    if (engine_.nesting_ == 0) engine_.stack_base_ = here;
    std::ptrdiff_t used = engine_.stack_base_ - here;
    if (engine_.nesting_ >= kMaxNesting || used > kMaxStackBytes || used < -kMaxStackBytes) {
      throw StackExhausted();
    }
    ++engine_.nesting_;
  }
  ~NestingGuard() { --engine_.nesting_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  Engine& engine_;
};

template <typename Body>
void Engine::Nested(Body&& body) {
  const bool outermost = nesting_ == 0;
  try {
    NestingGuard guard(*this);
    std::forward<Body>(body)();
  } catch (const StackExhausted&) {
    if (!outermost) throw;
    RecoverFromRunaway();
    Raise(kErrOutOfStack);
  }
}

}  // namespace qv::engine
