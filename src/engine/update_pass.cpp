// The update pass: after every flag change and at scene entry it decides which objects
// are active under the flags, shows and places the active visible ones and starts their
// sounds, suspends the hidden ones that must not fire in the rules' run at its end, and
// hides what is no longer active, unless a scene switch is pending.

#include <algorithm>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_math.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

// An invisible link's height or width text as a size in pixels.
int SizeFromText(const std::string& text) {
  double value = RoundHalfEven(LeadingNumber(text));
  return static_cast<int>(std::clamp(value, 0.0, 32767.0));
}

}  // namespace

void Engine::UpdateObjData2() {
  RunProcedure(s_.boxes, "UpdateObjData2", [&] { UpdateObjData2Body(); });
}

void Engine::UpdateObjData2Body() {
  if (game_ended_) return;
  for (int16_t i = 1; i <= 20; ++i)
    ObjActive[i] = false;
  PassRequests requests;
  for (int16_t i = 1; i <= 20; ++i) {
    ActivateObject(i, requests);
    if (game_ended_) return;  // an Ambient's flag change ended the game
  }
  for (int16_t i = 1; i <= 20; ++i) {
    if (ObjActive[i]) ShowObject(i);
  }
  EndPass(requests);
}

bool Engine::Shown(const data::Visibility& visibility) const {
  if (visibility.mode == 1) return true;
  return visibility.mode == 2 && TestFlag(visibility.condition);
}

void Engine::ActivateObject(int16_t i, PassRequests& requests) {
  data::SceneTables& t = scene();
  switch (t.ObjType[i]) {
    case kAmbient: {
      const auto o = data::AmbientObject::Read(t, i);
      ObjActive[i] = Shown(o.visibility);
      if (!ObjActive[i]) break;
      if (o.changes_flag) ChangeFlag(o.change.flag, o.change.value, o.change.op);
      // The flag change may have loaded another scene: its slot is what counts now.
      const auto now = data::AmbientObject::Read(t, i);
      if (now.adds_location) s_.map.AddMapLocation(now.location);
      break;
    }
    case kLink:
      ObjActive[i] = Shown(data::LinkObject::Read(t, i).visibility);
      break;
    case kGoodie:
      ObjActive[i] = Shown(data::GoodieObject::Read(t, i).visibility);
      break;
    case kSwitch: {
      const auto o = data::SwitchObject::Read(t, i);
      ObjActive[i] = Shown(o.visibility);
      if (!ObjActive[i]) break;
      // The switch shows its state: on = its last frame.
      media::AnimatedPicture& control = s_.screen.ObjectPicture(i);
      if (state.Flags[o.flag] != 0) {
        control.SetDirection(1);
        control.SetCurrentFrame(control.FrameCount() - 1);
      } else {
        control.SetDirection(0);
        control.SetCurrentFrame(0);
      }
      s_.loop.DoEvents();
      break;
    }
    case kReactor:
      ObjActive[i] = Shown(data::ReactorObject::Read(t, i).visibility);
      break;
    default:
      ActivateHiddenObject(i, requests);
      break;
  }
}

void Engine::ActivateHiddenObject(int16_t i, PassRequests& requests) {
  data::SceneTables& t = scene();
  const int16_t type = t.ObjType[i];
  switch (type) {
    case kResponder:
      if (data::ResponderObject::ReadTrigger(t, i).change_only) t.ObjType[i] = Suspended(type);
      return;
    case kDelay: {
      const auto o = data::DelayObject::Read(t, i);
      if (o.start_mode == 0 && TestFlag(o.condition)) {
        ObjActive[i] = true;
        s_.delays.StartDelay(i, o.seconds);
      }
      break;
    }
    case kMultiTrigger:
      ObjActive[i] = data::MultiTriggerObject::Read(t, i).mode == 0;
      break;
    case kConversation: {
      const auto o = data::ConversationObject::Read(t, i);
      if (o.kind == 1) {
        // An entry conversation is shown by the pass (the last one in slot order).
        ObjActive[i] = state.ShownConversation != i;
        requests.entry_requested = true;
        requests.entry_record = o.record;
        requests.entry_slot = i;
      } else if (o.kind == 2) {
        ObjActive[i] = state.ShownConversation != i && TestFlag(o.condition);
      }
      break;
    }
    case kFlagConjunction: {
      const bool change_only = data::FlagConjunctionObject::ReadConditions(t, i).mode == 1;
      ObjActive[i] = !change_only;
      if (change_only) t.ObjType[i] = Suspended(type);
      return;
    }
    default:
      return;
  }
  if (!ObjActive[i]) t.ObjType[i] = Suspended(type);
}

void Engine::ShowObject(int16_t i) {
  const data::SceneTables& t = scene();
  media::AnimatedPicture& control = s_.screen.ObjectPicture(i);
  auto show_at_place = [&] {
    control.Move(t.ObjX[i], t.ObjY[i]);
    control.SetVisible(true);
  };
  auto play = [&](const data::ObjectSound& sound, bool loop, int16_t kind) {
    s_.sound.PlayWav(sound.file, loop, GetSoundChannel(kind, i, 1), sound.pan, sound.volume);
  };
  switch (t.ObjType[i]) {
    case kAmbient: {
      const auto o = data::AmbientObject::Read(t, i);
      show_at_place();
      control.Start();
      if (!o.sound.file.empty()) play(o.sound, o.mode != 3, kAmbient);
      break;
    }
    case kLink: {
      const auto o = data::LinkObject::Read(t, i);
      if (o.invisible_area) {
        control.SetVisible(false);
        ui::Image& area = s_.screen.ObjectArea(i);
        area.Move(t.ObjX[i], t.ObjY[i], SizeFromText(o.area_width), SizeFromText(o.area_height));
        area.SetVisible(true);
      } else {
        show_at_place();
      }
      if (!o.idle_sound.file.empty() && !clicks.HotSpotUsed[i]) play(o.idle_sound, true, kLink);
      if (o.mode != 3 && !o.invisible_area && !clicks.HotSpotUsed[i]) control.Start();
      break;
    }
    case kGoodie: {
      const auto o = data::GoodieObject::Read(t, i);
      show_at_place();
      if (o.mode != 3) {
        control.Start();
        if (!o.idle_sound.file.empty()) play(o.idle_sound, true, kGoodie);
      }
      break;
    }
    case kSwitch:
      show_at_place();
      break;
    case kReactor: {
      const auto o = data::ReactorObject::Read(t, i);
      show_at_place();
      if (o.reaction == 5) {
        control.Stop();
      } else {
        control.Start();
      }
      if ((o.reaction == 3 || o.reaction == 4) && !o.sound.file.empty()) {
        play(o.sound, true, kReactor);
      }
      break;
    }
    default:
      break;
  }
}

void Engine::EndPass(const PassRequests& requests) {
  if (requests.entry_requested) {
    // A conversation the file cannot give is reported, and the pass goes on.
    RunProcedure(s_.boxes, "UpdateObjData2", [&] {
      s_.conversations.ShowConversation(requests.entry_record, requests.entry_slot);
    });
  }
  CheckHiddenObjects();
  if (game_ended_) return;
  state.RestoringGame = false;
  if (state.LoadedNewScene && SwitchScene()) return;
  data::SceneTables& t = scene();
  for (int16_t i = 1; i <= 20; ++i) {
    int16_t& type = t.ObjType[i];
    if (IsSuspended(type)) type = Resumed(type);
  }
  for (int16_t i = 1; i <= 20; ++i) {
    if (!ObjActive[i]) {
      s_.screen.ObjectPicture(i).SetVisible(false);
      s_.screen.ObjectArea(i).SetVisible(false);
      s_.loop.DoEvents();
    }
  }
  ScnTimerDone = false;
  ScnTimer->SetEnabled(true);
  s_.loop.WaitUntil([this] { return ScnTimerDone; });
}

int16_t Engine::GetSoundChannel(int16_t kind, int16_t obj, int16_t variant) const {
  const std::optional<int16_t> field = data::SoundChannelField(scene(), kind, obj, variant);
  if (!field) return 0;
  if (kind == kReactor && *field == -1) return media::kDialogueChannel;
  // 0 (or -1) chooses by slot: slots 1-13 use channels 1-13, slots 14-20 channels 1-7.
  if (*field == 0 || *field == -1) return static_cast<int16_t>(obj > 13 ? obj - 13 : obj);
  return *field;
}

}  // namespace qv::engine
