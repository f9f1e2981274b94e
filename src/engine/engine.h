#pragma once
// The engine: the game flags and ChangeFlag, scene loading and the update pass that
// keeps the scene's objects in step with the flags, and the hidden-object rules that run
// after every flag change. It is re-entrant by design: a flag change runs the rules,
// whose actions change flags (nested passes) and switch scenes, and every wait lets
// other events (delays expiring, clicks) run inside it.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "core/vb_error.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "engine/collaborators.h"
#include "engine/game_state.h"
#include "platform/event_loop.h"
#include "screen/game_screen.h"

namespace qv::engine {

struct EngineServices {
  platform::EventLoop& loop;
  MessageBoxService& boxes;
  data::SceneData& data;
  platform::PictureLoader& pictures;
  screen::GameScreen& screen;
  diag::NotifyLog& log;
  SoundPort& sound;
  MusicPort& music;
  MoviePort& movies;
  DelayPort& delays;
  ConversationPort& conversations;
  MapPort& map;
  InventoryPort& inventory;
  ShellPort& shell;
};

class Engine {
 public:
  // How deeply flag changes and scene loads may nest before the engine gives up with
  // "Out of stack space" (28), as the original did after some hundreds of nested calls:
  // an Ambient object that changes a flag on every update pass never ends by itself.
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
  void ResetGameState();
  void StopAllSounds();
  // Appends a line to the notify log.
  void NotifyLog(std::string_view text);
  // Appends a progress line when VerboseLog is on.
  void Progress(std::string_view text);

  // ---- scene loading
  bool SceneChanging = false;
  int16_t PicturesLoaded = 0;
  SlotTable<bool> ObjActive;
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

  // How many scene loads have begun: a handler tells by it that its scene was left.
  uint64_t SceneLoadsStarted() const { return loads_started_; }

  data::SceneTables& scene() { return s_.data.scene; }
  const data::SceneTables& scene() const { return s_.data.scene; }
  EngineServices& services() { return s_; }

 private:
  class NestingGuard;

  void LoadSceneBody(int16_t scene_no);
  void UpdateObjDataBody();
  void UpdateObjData2Body();
  void CheckHiddenObjectsPass();
  void EndOfGame();
  // The slot actions of one hidden-object type; false stops the pass at once.
  bool Responder(int16_t i);
  void Delay(int16_t i);
  void MultiTrigger(int16_t i);
  void FlagConjunction(int16_t i);
  struct PassState {
    int16_t show_record = 0;
    int16_t show_slot = 0;
    bool hide_requested = false;
    int16_t hide_slot = 0;
  };
  void Conversation(int16_t i, PassState& pass);
  // Loads one object's picture; returns true when a picture-loaded event will follow.
  bool LoadObjectPicture(int16_t i, const std::string& name);
  void WaitForMovie();

  EngineServices s_;
  int nesting_ = 0;
  const char* stack_base_ = nullptr;
  // Counts scene loads, so a load can tell that another one ran inside it.
  uint64_t loads_started_ = 0;
};

// Counts nested flag changes and scene loads; past the bound, "Out of stack space".
class Engine::NestingGuard {
 public:
  explicit NestingGuard(Engine& engine) : engine_(engine) {
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    if (engine_.nesting_ == 0) engine_.stack_base_ = here;
    std::ptrdiff_t used = engine_.stack_base_ - here;
    if (engine_.nesting_ >= kMaxNesting || used > kMaxStackBytes || used < -kMaxStackBytes) {
      Raise(kErrOutOfStack);
    }
    ++engine_.nesting_;
  }
  ~NestingGuard() { --engine_.nesting_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  Engine& engine_;
};

}  // namespace qv::engine
