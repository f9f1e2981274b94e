// The hidden-object rules: responders, delays, multi-triggers, conversations and flag
// conjunctions, evaluated slot by slot after every flag change. A slot that fired is
// disarmed (a negative type code) before its actions run, so a nested pass started by
// an action never fires it again; a scene load restores the authored types.

#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

// A flag change written as decimal text in a flag conjunction's texts.
int16_t NumberFromText(const std::string& text) {
  return ToInt16(LeadingNumber(text));
}

}  // namespace

void Engine::CheckHiddenObjects() {
  try {
    CheckHiddenObjectsPass();
  } catch (const std::exception& e) {
    VbError error = ToVbError(e);
    s_.boxes.Show(kAppTitle,
                  "Error in sub 'CheckHiddenObjects'.\rError #" + NumText(error.number()) + " : " +
                      error.description(),
                  BoxButtons::kOk, BoxIcon::kNone);
  }
}

void Engine::CheckHiddenObjectsPass() {
  PassState pass;
  for (int16_t i = 1; i <= 20; ++i) {
    switch (scene().ObjType[i]) {
      case kResponder:
        if (!Responder(i)) return;  // the game ended
        break;
      case kDelay:
        Delay(i);
        break;
      case kMultiTrigger:
        MultiTrigger(i);
        break;
      case kConversation:
        Conversation(i, pass);
        break;
      case kFlagConjunction:
        FlagConjunction(i);
        break;
      default:
        break;
    }
    s_.loop.DoEvents();
  }
  if (pass.show_slot != 0) {
    s_.conversations.ShowConversation(pass.show_record, pass.show_slot);
    return;
  }
  if (pass.hide_requested && state.ShownConversation != 0) {
    Progress("[Conv Index #" + NumText(pass.hide_slot) + "] Hide Conversation Box");
    s_.screen.ConvBox->SetVisible(false);
    state.ShownConversation = 0;
  }
}

bool Engine::Responder(int16_t i) {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  const std::string index = "[Resp Index #" + NumText(i) + "] ";
  int16_t kind = N[0][i];
  bool fired = false;
  if (kind == 1) {
    fired = TestFlag(N[1][i], N[2][i], N[3][i]);
  } else if (kind == 2) {
    fired = memories.WavPlayed[i];
    memories.WavPlayed[i] = false;
  }
  if (!fired) return true;
  if (kind == 1 && N[4][i] == 1 &&
      (state.Flags[N[1][i]] == memories.RespLastValue[i] || state.RestoringGame)) {
    return true;
  }
  if (kind == 1) {
    Progress(index + "Flag" + NumText(N[1][i]) + OperatorText(N[2][i]) + PlainNum(N[3][i]) +
             ". Taking action...");
  } else {
    Progress(index + "'" + memories.WatchedWav[i] + "' played. Taking action...");
  }
  t.ObjType[i] = -1;
  memories.RespLastValue[i] = state.Flags[N[1][i]];
  if (N[21][i] == 1) {
    EndOfGame();
    return false;
  }
  // The actions read the slot again at each step: a nested flag change may have loaded
  // another scene into the tables meanwhile.
  if (N[11][i] != 0 && N[10][i] == 1) s_.screen.ShowCursor(screen::kBusyCursor);
  if (N[5][i] == 1 && !t.ObjS[1][i].empty()) {
    s_.music.Soundtrack(t.ObjS[1][i], N[6][i], false);
    t.SoundtrackFile.clear();
  }
  if (N[7][i] == 1 && !t.ObjS[2][i].empty()) {
    std::string kind_of_media = LastThreeLower(t.ObjS[2][i]);
    if (kind_of_media == "wav") {
      // A responder's own sound never triggers the responder itself.
      std::string watched = memories.WatchedWav[i];
      memories.WatchedWav[i].clear();
      int16_t channel = N[10][i] != 0 ? int16_t{20} : GetSoundChannel(kResponder, i, 1);
      s_.sound.PlayWav(t.ObjS[2][i], false, channel, N[9][i], N[8][i]);
      memories.WatchedWav[i] = watched;
    } else if (kind_of_media == "avi" && N[10][i] == 0) {
      s_.movies.PlayMovie(t.ObjS[2][i], N[8][i], true, false);
    }
  }
  if (N[12][i] == 1) ChangeFlag(N[13][i], N[14][i], N[15][i]);
  if (N[16][i] == 1 && N[17][i] >= 1) s_.map.AddMapLocation(N[17][i]);
  if (N[18][i] == 1 && N[19][i] >= 1) s_.inventory.AddInventoryItem(N[19][i]);
  if (N[10][i] == 1 && N[11][i] != 0) {
    t.ExitSound.clear();
    t.ExitMovie.clear();
    if (N[7][i] == 1 && !t.ObjS[2][i].empty() && LastThreeLower(t.ObjS[2][i]) == "avi") {
      t.ExitMovie = t.ObjS[2][i];
      t.ExitMovieParam = N[8][i];
    }
    Progress(index + "Switch to Scene" + NumText(N[11][i]));
    state.LoadedNewScene = true;
    state.NewSceneNum = N[11][i];
  }
  return true;
}

void Engine::Delay(int16_t i) {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  if (!TestFlag(N[1][i], N[2][i], N[3][i])) return;
  Progress("[Delay Index #" + NumText(i) + "] Flag" + NumText(N[1][i]) + OperatorText(N[2][i]) +
           PlainNum(N[3][i]) + ". Taking action...");
  t.ObjType[i] = -1;
  s_.delays.SetDelayChange(i, N[5][i], N[6][i], N[7][i]);
  s_.delays.StartDelay(i, N[4][i]);
}

void Engine::MultiTrigger(int16_t i) {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  // Condition k uses fields 8k-7 .. 8k-5, its change switch 8k-4, its change 8k-3 ..
  // 8k-1 and its scene 8k.
  bool fired = false;
  int k = 0;
  int16_t flag = 0, op = 0, value = 0, change_flag = 0, change_value = 0, change_op = 0,
          scene_no = 0;
  for (int c = 1; c <= 3 && !fired; ++c) {
    int base = 8 * c;
    if (!TestFlag(N[base - 7][i], N[base - 6][i], N[base - 5][i])) continue;
    fired = true;
    k = c;
    flag = N[base - 7][i];
    op = N[base - 6][i];
    value = N[base - 5][i];
    change_flag = N[base - 4][i] == 1 ? N[base - 3][i] : int16_t{0};
    change_value = N[base - 2][i];
    change_op = N[base - 1][i];
    scene_no = N[base][i];
    if (N[0][i] == 1) {
      // Change-only: a condition whose flag has not changed lets the next one be tried.
      if (state.Flags[flag] == memories.MultiLastValue(k)[i]) {
        fired = false;
      } else if (state.RestoringGame) {
        return;
      }
    }
  }
  if (!fired) return;
  if (memories.MultiLastValue(k)[i] == state.Flags[flag]) return;
  if (scene_no != 0) s_.screen.ShowCursor(screen::kBusyCursor);
  const std::string index = "[Multi-Trigger Index #" + NumText(i) + "-" + PlainNum(k) + "] ";
  Progress(index + "Flag" + NumText(flag) + OperatorText(op) + PlainNum(value) +
           ". Taking action...");
  memories.MultiLastValue(k)[i] = state.Flags[flag];
  if (change_flag != 0) ChangeFlag(change_flag, change_value, change_op);
  if (scene_no != 0) {
    Progress(index + "Switch to Scene" + NumText(scene_no));
    state.LoadedNewScene = true;
    state.NewSceneNum = scene_no;
  }
}

void Engine::Conversation(int16_t i, PassState& pass) {
  auto& N = scene().ObjN;
  if (N[1][i] != 2) return;
  if (TestFlag(N[2][i], N[3][i], N[4][i])) {
    if (state.ShownConversation == i) return;
    if (N[6][i] == 1 && state.Flags[N[2][i]] == memories.ConvLastValue[i] &&
        state.LastFlagChanged != N[2][i]) {
      return;
    }
    Progress("[Conv Index #" + NumText(i) + "] Flag" + NumText(N[2][i]) + OperatorText(N[3][i]) +
             PlainNum(N[4][i]) + ". Taking action...");
    pass.show_record = N[0][i];
    pass.show_slot = i;
  } else if (state.ShownConversation == i && s_.screen.ConvBox->Visible()) {
    pass.hide_requested = true;
    pass.hide_slot = i;
  }
}

void Engine::FlagConjunction(int16_t i) {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  // Term k: enable 4k-3, flag 4k-2, comparison 4k-1, value 4k.
  if (N[0][i] == 1) {
    int enables = 0, unchanged = 0, hit = 0;
    for (int k = 1; k <= 6; ++k) {
      enables += N[4 * k - 3][i];
      if (N[4 * k - 3][i] != 1) continue;
      int16_t flag = N[4 * k - 2][i];
      if (state.Flags[flag] == memories.ConjLastValue(k)[i]) ++unchanged;
      if (flag == state.LastFlagChanged) ++hit;
    }
    if (enables - unchanged < 1 || hit < 1) return;
  }
  for (int k = 1; k <= 6; ++k) {
    if (N[4 * k - 3][i] == 1 && !TestFlag(N[4 * k - 2][i], N[4 * k - 1][i], N[4 * k][i])) return;
  }
  Progress("[Flag Conj. Index #" + NumText(i) + "] Conditions true. Taking action...");
  t.ObjType[i] = N[0][i] == 1 ? int16_t{-6} : int16_t{-99};
  ChangeFlag(NumberFromText(t.ObjS[0][i]), NumberFromText(t.ObjS[1][i]),
             NumberFromText(t.ObjS[2][i]));
  for (int k = 1; k <= 6; ++k)
    memories.ConjLastValue(k)[i] = state.Flags[N[4 * k - 2][i]];
}

void Engine::CheckMultiTriggersOnEntry() {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  state.LoadedNewScene = false;
  for (int16_t i = 1; i <= 20; ++i) {
    if (t.ObjType[i] != kMultiTrigger) continue;
    for (int k = 1; k <= 3; ++k) {
      int base = 8 * k;
      int16_t flag = N[base - 7][i], op = N[base - 6][i], value = N[base - 5][i];
      if (!TestFlag(flag, op, value)) continue;
      const std::string index = "[Multi-Trigger Index #" + NumText(i) + "-" + PlainNum(k) + "] ";
      int16_t change_flag = N[base - 4][i] == 1 ? N[base - 3][i] : int16_t{0};
      int16_t change_value = N[base - 2][i], change_op = N[base - 1][i], scene_no = N[base][i];
      Progress(index + "Flag" + NumText(flag) + OperatorText(op) + PlainNum(value) +
               ". Taking action...");
      memories.MultiLastValue(k)[i] = state.Flags[flag];
      if (change_flag != 0) ChangeFlag(change_flag, change_value, change_op);
      if (scene_no != 0) {
        Progress(index + "Switch to Scene" + NumText(scene_no));
        state.LoadedNewScene = true;
        state.NewSceneNum = scene_no;
        return;
      }
      break;
    }
    s_.loop.DoEvents();
  }
}

void Engine::InitHiddenObjectMemories(int16_t i) {
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  switch (t.ObjType[i]) {
    case kResponder:
      if (N[0][i] == 1) memories.RespLastValue[i] = state.Flags[N[1][i]];
      if (N[0][i] == 2) memories.WatchedWav[i] = t.ObjS[0][i];
      break;
    case kMultiTrigger:
      for (int k = 1; k <= 3; ++k)
        memories.MultiLastValue(k)[i] = state.Flags[N[8 * k - 7][i]];
      break;
    case kConversation:
      memories.ConvLastValue[i] = state.Flags[N[2][i]];
      break;
    case kFlagConjunction:
      for (int k = 1; k <= 6; ++k)
        memories.ConjLastValue(k)[i] = state.Flags[N[4 * k - 2][i]];
      break;
    default:
      break;
  }
}

void Engine::EndOfGame() {
  screen::GameScreen& screen = s_.screen;
  s_.shell.HideGameWindows();
  s_.shell.SetQuitBusy(true);
  s_.delays.StopAllTimers();
  screen.Block->SetVisible(true);
  s_.loop.DoEvents();
  s_.log.Unload();
  screen.Main().Hide();
  screen.Main().SetTopMost(false);
  StopAllSounds();
  ResetGameState();
  s_.shell.ResetMainMenuButton();
  s_.loop.DoEvents();
  s_.shell.ShowMainMenu();
  if (screen.CurrentCursor() != screen::kDefaultCursor) screen.ShowCursor(screen::kDefaultCursor);
}

}  // namespace qv::engine
