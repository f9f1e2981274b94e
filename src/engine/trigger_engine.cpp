// The hidden-object rules: responders, delays, multi-triggers, conversations and flag
// conjunctions, evaluated slot by slot after every flag change. A slot that fired is
// disarmed (a negative type code) before its actions run, so a nested pass started by
// an action never fires it again; a scene load restores the authored types.

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

ErrorBoxFormat EngineErrorFormat() {
  return {"Error in sub 'CheckHiddenObjects'.", "\rError #", true, " : ", "", BoxIcon::kNone};
}

// A flag change written as decimal text in a flag conjunction's texts.
int16_t NumberFromText(const std::string& text) {
  return ToInt16(LeadingNumber(text));
}

std::string ConditionText(const data::FlagCondition& c) {
  return "Flag" + NumText(c.flag) + OperatorText(c.op) + PlainNum(c.value);
}

std::string MultiTriggerIndex(int16_t i, int k) {
  return "[Multi-Trigger Index #" + NumText(i) + "-" + PlainNum(k) + "] ";
}

}  // namespace

void Engine::CheckHiddenObjects() {
  // A failure ends the pass in the engine's own box; what was done stays done.
  RunReporting(s_.boxes, EngineErrorFormat, [this] { CheckHiddenObjectsPass(); });
}

void Engine::CheckHiddenObjectsPass() {
  if (game_ended_) return;
  PassState pass;
  for (int16_t i = 1; i <= 20; ++i) {
    switch (scene().ObjType[i]) {
      case kResponder:
        if (!RunResponder(i)) return;  // the game ended
        break;
      case kDelay:
        RunDelay(i);
        break;
      case kMultiTrigger:
        RunMultiTrigger(i);
        break;
      case kConversation:
        RunConversation(i, pass);
        break;
      case kFlagConjunction:
        RunFlagConjunction(i);
        break;
      default:
        break;
    }
    // The game may have ended inside an action: nothing of its scene runs any more.
    if (game_ended_) return;
    s_.loop.DoEvents();
  }
  if (pass.show_slot != 0) {
    s_.conversations.ShowConversation(pass.show_record, pass.show_slot);
    return;
  }
  if (pass.hide_requested && state.ShownConversation != 0) {
    Progress("[Conv Index #" + NumText(pass.hide_slot) + "] Hide Conversation Box");
    s_.screen.ConversationBox().SetVisible(false);
    state.ShownConversation = 0;
  }
}

bool Engine::RunResponder(int16_t i) {
  data::SceneTables& t = scene();
  const auto trigger = data::ResponderObject::ReadTrigger(t, i);
  bool fired = false;
  if (trigger.kind == 1) {
    fired = TestFlag(trigger.condition);
  } else if (trigger.kind == 2) {
    fired = memories.WavPlayed[i];
    memories.WavPlayed[i] = false;
  }
  if (!fired) return true;
  if (trigger.kind == 1 && trigger.change_only &&
      (state.Flags[trigger.condition.flag] == memories.RespLastValue[i] || state.RestoringGame)) {
    return true;
  }
  const std::string index = "[Resp Index #" + NumText(i) + "] ";
  if (trigger.kind == 1) {
    Progress(index + ConditionText(trigger.condition) + ". Taking action...");
  } else {
    Progress(index + "'" + memories.WatchedWav[i] + "' played. Taking action...");
  }
  t.ObjType[i] = kFired;
  memories.RespLastValue[i] = state.Flags[trigger.condition.flag];
  auto r = data::ResponderObject::Read(t, i);
  if (r.ends_game) {
    EndOfGame();
    return false;
  }
  if (r.target_scene != 0 && r.switch_mode == 1) s_.screen.ShowCursor(kBusyCursor);
  if (r.starts_soundtrack && !r.soundtrack.empty()) {
    s_.music.Soundtrack(r.soundtrack, r.soundtrack_volume, false);
    t.SoundtrackFile.clear();
  }
  if (r.plays_media && !r.media.file.empty()) {
    const std::string kind = LastThreeLower(r.media.file);
    if (kind == "wav") {
      // A responder's own sound never triggers the responder itself.
      const std::string watched = memories.WatchedWav[i];
      memories.WatchedWav[i].clear();
      const int16_t channel =
          r.switch_mode != 0 ? media::kSceneSwitchChannel : GetSoundChannel(kResponder, i, 1);
      s_.sound.PlayWav(r.media.file, false, channel, r.media.pan, r.media.volume);
      memories.WatchedWav[i] = watched;
    } else if (kind == "avi" && r.switch_mode == 0) {
      s_.movies.PlayMovie(r.media.file, r.media.volume, true, false);
    }
  }
  // A sound the rules watch for, or a flag change, may have loaded another scene: each
  // further action reads the slot as it is now.
  r = data::ResponderObject::Read(t, i);
  if (r.changes_flag) ChangeFlag(r.change.flag, r.change.value, r.change.op);
  if (game_ended_) return false;
  r = data::ResponderObject::Read(t, i);
  if (r.adds_location && r.location >= 1) s_.map.AddMapLocation(r.location);
  if (r.adds_item && r.item >= 1) s_.inventory.AddInventoryItem(r.item);
  if (r.switch_mode == 1 && r.target_scene != 0) {
    t.ExitSound.clear();
    t.ExitMovie.clear();
    if (r.plays_media && !r.media.file.empty() && LastThreeLower(r.media.file) == "avi") {
      t.ExitMovie = r.media.file;
      t.ExitMovieParam = r.media.volume;
    }
    Progress(index + "Switch to Scene" + NumText(r.target_scene));
    state.LoadedNewScene = true;
    state.NewSceneNum = r.target_scene;
  }
  return true;
}

void Engine::RunDelay(int16_t i) {
  data::SceneTables& t = scene();
  const auto d = data::DelayObject::Read(t, i);
  if (!TestFlag(d.condition)) return;
  Progress("[Delay Index #" + NumText(i) + "] " + ConditionText(d.condition) +
           ". Taking action...");
  t.ObjType[i] = kFired;
  s_.delays.SetDelayChange(i, d.change.flag, d.change.value, d.change.op);
  s_.delays.StartDelay(i, d.seconds);
}

void Engine::RunMultiTrigger(int16_t i) {
  const auto m = data::MultiTriggerObject::Read(scene(), i);
  // The first condition that holds fires; in change-only mode one whose flag has not
  // changed lets the next one be tried.
  int k = 0;
  for (int c = 1; c <= 3 && k == 0; ++c) {
    const auto& branch = m.branches[static_cast<size_t>(c - 1)];
    if (!TestFlag(branch.condition)) continue;
    k = c;
    if (m.mode == 1) {
      if (state.Flags[branch.condition.flag] == memories.MultiLastValue(c)[i]) {
        k = 0;
      } else if (state.RestoringGame) {
        return;
      }
    }
  }
  if (k == 0) return;
  const auto& branch = m.branches[static_cast<size_t>(k - 1)];
  const int16_t flag = branch.condition.flag;
  if (memories.MultiLastValue(k)[i] == state.Flags[flag]) return;
  if (branch.scene != 0) s_.screen.ShowCursor(kBusyCursor);
  Progress(MultiTriggerIndex(i, k) + ConditionText(branch.condition) + ". Taking action...");
  memories.MultiLastValue(k)[i] = state.Flags[flag];
  if (branch.changes_flag && branch.change.flag != 0) {
    ChangeFlag(branch.change.flag, branch.change.value, branch.change.op);
  }
  if (branch.scene != 0) {
    Progress(MultiTriggerIndex(i, k) + "Switch to Scene" + NumText(branch.scene));
    state.LoadedNewScene = true;
    state.NewSceneNum = branch.scene;
  }
}

void Engine::RunConversation(int16_t i, PassState& pass) {
  const auto c = data::ConversationObject::Read(scene(), i);
  if (c.kind != 2) return;
  if (TestFlag(c.condition)) {
    if (state.ShownConversation == i) return;
    if (c.change_only && state.Flags[c.condition.flag] == memories.ConvLastValue[i] &&
        state.LastFlagChanged != c.condition.flag) {
      return;
    }
    Progress("[Conv Index #" + NumText(i) + "] " + ConditionText(c.condition) +
             ". Taking action...");
    pass.show_record = c.record;
    pass.show_slot = i;
  } else if (state.ShownConversation == i && s_.screen.ConversationBox().Visible()) {
    pass.hide_requested = true;
    pass.hide_slot = i;
  }
}

void Engine::RunFlagConjunction(int16_t i) {
  data::SceneTables& t = scene();
  const auto c = data::FlagConjunctionObject::ReadConditions(t, i);
  if (c.mode == 1) {
    // Change-only: some enabled term's flag has a new value, and one of them is the flag
    // that changed last.
    int enables = 0, unchanged = 0, hit = 0;
    for (int k = 1; k <= 6; ++k) {
      const auto& term = c.terms[static_cast<size_t>(k - 1)];
      enables += term.enabled;
      if (term.enabled != 1) continue;
      if (state.Flags[term.condition.flag] == memories.ConjLastValue(k)[i]) ++unchanged;
      if (term.condition.flag == state.LastFlagChanged) ++hit;
    }
    if (enables - unchanged < 1 || hit < 1) return;
  }
  for (const auto& term : c.terms) {
    if (term.enabled == 1 && !TestFlag(term.condition)) return;
  }
  Progress("[Flag Conj. Index #" + NumText(i) + "] Conditions true. Taking action...");
  t.ObjType[i] = c.mode == 1 ? int16_t{kSuspendedConjunction} : int16_t{kConjunctionSpent};
  const auto f = data::FlagConjunctionObject::Read(t, i);
  ChangeFlag(NumberFromText(f.flag_text), NumberFromText(f.value_text), NumberFromText(f.op_text));
  // The memories take the terms' flags as the slot names them now.
  const auto now = data::FlagConjunctionObject::ReadConditions(t, i);
  for (int k = 1; k <= 6; ++k) {
    memories.ConjLastValue(k)[i] =
        state.Flags[now.terms[static_cast<size_t>(k - 1)].condition.flag];
  }
}

void Engine::CheckMultiTriggersOnEntry() {
  data::SceneTables& t = scene();
  state.LoadedNewScene = false;
  for (int16_t i = 1; i <= 20; ++i) {
    if (t.ObjType[i] != kMultiTrigger) continue;
    const auto m = data::MultiTriggerObject::Read(t, i);
    for (int k = 1; k <= 3; ++k) {
      const auto& branch = m.branches[static_cast<size_t>(k - 1)];
      if (!TestFlag(branch.condition)) continue;
      Progress(MultiTriggerIndex(i, k) + ConditionText(branch.condition) + ". Taking action...");
      memories.MultiLastValue(k)[i] = state.Flags[branch.condition.flag];
      if (branch.changes_flag && branch.change.flag != 0) {
        ChangeFlag(branch.change.flag, branch.change.value, branch.change.op);
      }
      if (branch.scene != 0) {
        Progress(MultiTriggerIndex(i, k) + "Switch to Scene" + NumText(branch.scene));
        state.LoadedNewScene = true;
        state.NewSceneNum = branch.scene;
        return;
      }
      break;
    }
    s_.loop.DoEvents();
  }
}

void Engine::InitHiddenObjectMemories(int16_t i) {
  const data::SceneTables& t = scene();
  switch (t.ObjType[i]) {
    case kResponder: {
      const auto r = data::ResponderObject::Read(t, i);
      if (r.trigger.kind == 1) memories.RespLastValue[i] = state.Flags[r.trigger.condition.flag];
      if (r.trigger.kind == 2) memories.WatchedWav[i] = r.watched_sound;
      break;
    }
    case kMultiTrigger: {
      const auto m = data::MultiTriggerObject::Read(t, i);
      for (int k = 1; k <= 3; ++k)
        memories.MultiLastValue(k)[i] =
            state.Flags[m.branches[static_cast<size_t>(k - 1)].condition.flag];
      break;
    }
    case kConversation:
      memories.ConvLastValue[i] = state.Flags[data::ConversationObject::Read(t, i).condition.flag];
      break;
    case kFlagConjunction: {
      const auto c = data::FlagConjunctionObject::ReadConditions(t, i);
      for (int k = 1; k <= 6; ++k)
        memories.ConjLastValue(k)[i] =
            state.Flags[c.terms[static_cast<size_t>(k - 1)].condition.flag];
      break;
    }
    default:
      break;
  }
}

void Engine::EndOfGame() {
  // From here on nothing of this game's scene runs: not the passes and loads it is
  // nested in, nor the delays and sounds they would start.
  game_ended_ = true;
  ScreenPort& screen = s_.screen;
  s_.shell.HideGameWindows();
  s_.shell.SetQuitBusy(true);
  s_.delays.StopAllTimers();
  screen.ShowCover();
  s_.loop.DoEvents();
  s_.log.Unload();
  screen.HideGameScreen();
  StopAllSounds();
  ResetGameState();
  s_.shell.ResetMainMenuButton();
  s_.loop.DoEvents();
  s_.shell.ShowMainMenu();
  if (screen.CurrentCursor() != kDefaultCursor) screen.ShowCursor(kDefaultCursor);
}

}  // namespace qv::engine
