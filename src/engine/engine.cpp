#include "engine/engine.h"

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"

namespace qv::engine {

Engine::Engine(EngineServices services)
    : ScnTimer(std::make_unique<ui::Timer>(services.loop.timers(), "ScnTimer")), s_(services) {
  for (int16_t i = 1; i <= 20; ++i) {
    // Scene set-up counts the pictures it asked for as they arrive.
    s_.screen.ObjectPicture(i).on_picture_loaded = [this] { ++PicturesLoaded; };
  }
  ScnTimer->SetEnabled(false);
  ScnTimer->SetInterval(1);
  ScnTimer->SetTransient(true);  // an update pass waits for it
  ScnTimer->on_tick = [this] {
    ScnTimer->SetEnabled(false);
    ScnTimerDone = true;
  };
}

void Engine::RecoverFromRunaway() {
  // The passes and loads of the nest ended half-way: no switch is pending any more,
  // suspended objects are armed again, and a scene being built is handed to the player
  // as it stands.
  state.LoadedNewScene = false;
  for (int16_t i = 1; i <= 20; ++i) {
    int16_t& type = scene().ObjType[i];
    if (IsSuspended(type)) type = Resumed(type);
  }
  if (SceneChanging) {
    SceneChanging = false;
    s_.screen.RemoveCoverSoon();
  }
}

void Engine::NotifyLog(std::string_view text) {
  s_.log.Append(text);
}

void Engine::Progress(std::string_view text) {
  if (state.VerboseLog) s_.log.Append(text);
}

bool Engine::TestFlag(int16_t flag, int16_t op, int16_t value) const {
  int16_t current = state.Flags[flag];
  switch (op) {
    case kOpEqual:
      return current == value;
    case kOpNotEqual:
      return current != value;
    case kOpLess:
      return current < value;
    case kOpGreater:
      return current > value;
    default:
      return false;
  }
}

void Engine::ChangeFlag(int16_t flag, int16_t value, int16_t op) {
  if (flag == 0) return;
  Nested([&] {
    state.LastFlagChanged = flag;
    if (op == kSet) {
      state.Flags[flag] = value;
      Progress("<Flag" + NumText(flag) + "> Set to " + NumText(value));
    } else if (op == kAdd) {
      int16_t sum = AddInt16(state.Flags[flag], value);
      state.Flags[flag] = sum;
      Progress("<Flag" + NumText(flag) + "> Add" + NumText(value) + " (Value =" + NumText(sum) +
               ")");
    }
    if (flag == state.ScoreFlag) s_.screen.ShowScore(PlainNum(state.Flags[flag]));
    if (game_ended_) return;
    CheckHiddenObjects();
    s_.loop.DoEvents();
    if (game_ended_) return;
    if (state.LoadedNewScene && SwitchScene()) return;
    UpdateObjData2();
  });
}

bool Engine::SwitchScene() {
  const uint64_t before = loads_started_;
  LoadScene(state.NewSceneNum);
  if (loads_started_ != before) return true;
  // A scene the file refused leaves the current one in place: its update pass goes on.
  state.LoadedNewScene = false;
  return false;
}

bool Engine::SoundRequested(const std::string& name) {
  bool watched = false;
  for (int16_t r = 1; r <= 20; ++r) {
    if (memories.WatchedWav[r] == name) {
      memories.WavPlayed[r] = true;
      watched = true;
    }
  }
  if (watched) CheckHiddenObjects();
  return watched;
}

void Engine::ResetGameState() {
  ScreenPort& screen = s_.screen;
  s_.music.ClearSoundtrack();
  s_.inventory.SetHandSlot(99);
  scene().CurrentScene = 0;
  state.ShownConversation = 0;
  screen.ConversationBox().SetVisible(false);
  screen.SetScenePicture(nullptr);
  for (int16_t i = 1; i <= 20; ++i)
    screen.ObjectPicture(i).SetVisible(false);
  for (int16_t i = 1; i <= 20; ++i)
    screen.ObjectArea(i).SetVisible(false);
  s_.inventory.HideAllItems();
  s_.map.ClearLocations();
  for (int f = 1; f <= 255; ++f)
    state.Flags[f] = 0;
  memories.RespLastValue.Fill(0);
  for (int k = 1; k <= 3; ++k)
    memories.MultiLastValue(k).Fill(0);
  memories.WavPlayed.Fill(false);
  memories.WatchedWav.Fill("");
  PendingMovie.clear();
  state.LoadedNewScene = false;
  SceneChanging = false;
  s_.map.SetMapActive(false);
}

void Engine::StopAllSounds() {
  s_.music.StopMP3();
  s_.music.StopMIDI();
  // The buttons' channel keeps playing.
  for (int16_t channel = 1; channel <= media::kPersistentChannel; ++channel)
    s_.sound.StopWav(channel);
  for (int16_t channel :
       {media::kSoundtrackChannel, media::kSceneLoopChannel, media::kSceneChangeChannel,
        media::kDialogueChannel, media::kSceneSwitchChannel}) {
    s_.sound.StopWav(channel);
  }
  s_.delays.ClearBusyCursorMarks();
  s_.loop.DoEvents();
}

}  // namespace qv::engine
