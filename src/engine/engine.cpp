#include "engine/engine.h"

#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"

namespace qv::engine {

Engine::Engine(EngineServices services) : s_(services) {
  screen::GameScreen& screen = s_.screen;
  for (int i = 1; i <= 20; ++i) {
    // Scene set-up counts the pictures it asked for as they arrive.
    screen.Animation[i]->on_picture_loaded = [this] { ++PicturesLoaded; };
  }
  screen.ScnTimer->on_tick = [this, &screen] {
    screen.ScnTimer->SetEnabled(false);
    ScnTimerDone = true;
  };
  screen.BlockTimer->on_tick = [this, &screen] {
    screen.BlockTimer->SetEnabled(false);
    screen.Block->SetVisible(false);
    // The scene is ready: the busy cursor makes way for the default one, or for the hand
    // picture of the item in hand (which would otherwise keep the busy cursor, and with
    // it every click out, until the pointer crossed the scene picture).
    if (s_.inventory.HandSlot() == 99) {
      screen.ShowCursor(screen::kDefaultCursor);
    } else {
      screen.ShowPictureCursor(screen.FlashFixIcon->Picture());
    }
  };
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
  NestingGuard guard(*this);
  state.LastFlagChanged = flag;
  if (op == kSet) {
    state.Flags[flag] = value;
    Progress("<Flag" + NumText(flag) + "> Set to " + NumText(value));
  } else if (op == kAdd) {
    int16_t sum = AddInt16(state.Flags[flag], value);
    state.Flags[flag] = sum;
    Progress("<Flag" + NumText(flag) + "> Add" + NumText(value) + " (Value =" + NumText(sum) + ")");
  }
  if (flag == state.ScoreFlag) {
    std::string score = PlainNum(state.Flags[flag]);
    s_.screen.CurrScore_Large->SetCaption(score);
    s_.screen.CurrScore_Small->SetCaption(score);
  }
  CheckHiddenObjects();
  s_.loop.DoEvents();
  if (state.LoadedNewScene) {
    LoadScene(state.NewSceneNum);
    return;
  }
  UpdateObjData2();
}

void Engine::ResetGameState() {
  screen::GameScreen& screen = s_.screen;
  s_.music.ClearSoundtrack();
  s_.inventory.SetHandSlot(99);
  scene().CurrentScene = 0;
  state.ShownConversation = 0;
  screen.ConvBox->SetVisible(false);
  screen.ScnImg->SetPicture(nullptr);
  for (int i = 1; i <= 20; ++i)
    screen.Animation[i]->SetVisible(false);
  for (int i = 1; i <= 20; ++i)
    screen.NoGIF[i]->SetVisible(false);
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
  // Channel 18, the buttons' channel, keeps playing.
  for (int16_t channel = 1; channel <= 14; ++channel)
    s_.sound.StopWav(channel);
  for (int16_t channel : {int16_t{19}, int16_t{17}, int16_t{16}, int16_t{15}, int16_t{20}}) {
    s_.sound.StopWav(channel);
  }
  s_.delays.ClearBusyCursorMarks();
  s_.loop.DoEvents();
}

}  // namespace qv::engine
