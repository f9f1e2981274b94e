#include "data/scene_objects.h"

#include <cstddef>

namespace qv::data {

namespace {

// One slot of the tables, read by column: text k is ObjSk, number k is ObjNk. The slot
// number is checked once (9 when it is outside 1..20); the columns are this file's own.
class Slot {
 public:
  Slot(const SceneTables& t, int16_t slot)
      : t_(t), offset_(&t.ObjType[slot] - &*t.ObjType.begin()) {}

  const std::string& Text(int k) const { return t_.ObjS[k].begin()[offset_]; }
  int16_t Number(int k) const { return t_.ObjN[k].begin()[offset_]; }
  bool Yes(int k) const { return Number(k) == 1; }
  FlagCondition Condition(int first) const {
    return {Number(first), Number(first + 1), Number(first + 2)};
  }
  FlagChange Change(int first) const {
    return {Number(first), Number(first + 1), Number(first + 2)};
  }
  Visibility Visible(int mode) const { return {Number(mode), Condition(mode + 1)}; }
  ObjectSound Sound(int text, int volume, int pan) const {
    return {Text(text), Number(volume), Number(pan)};
  }
  RequiredItem Required(int first) const { return {Yes(first), Number(first + 1), Yes(first + 2)}; }

 private:
  const SceneTables& t_;
  std::ptrdiff_t offset_;
};

}  // namespace

const char* ObjectTypeName(int16_t type) {
  switch (type) {
    case kAmbient:
      return "Ambient";
    case kLink:
      return "Link";
    case kGoodie:
      return "Goodie";
    case kSwitch:
      return "Switch";
    case kReactor:
      return "Reactor";
    case kResponder:
      return "Responder";
    case kDelay:
      return "Delay";
    case kMultiTrigger:
      return "Multi-Trigger";
    case kConversation:
      return "Conversation";
    case kFlagConjunction:
      return "Flag Conjunction";
    default:
      return ">>> Unknown <<<";
  }
}

AmbientObject AmbientObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  AmbientObject o;
  o.picture = s.Text(0);
  o.mode = s.Number(0);
  o.sound = s.Sound(1, 2, 3);
  o.visibility = s.Visible(4);
  o.changes_flag = s.Yes(8);
  o.change = s.Change(9);
  o.adds_location = s.Yes(12);
  o.location = s.Number(13);
  return o;
}

DirectionLink DirectionLink::Read(const SceneTables& t, int k) {
  const VbArray<int16_t, 0, 5>* values = k == 1   ? &t.LinkUp
                                         : k == 2 ? &t.LinkRight
                                         : k == 3 ? &t.LinkDown
                                         : k == 4 ? &t.LinkLeft
                                                  : nullptr;
  if (values == nullptr) return {};
  const VbArray<int16_t, 0, 5>& v = *values;
  return {v[0], v[1], v[2], v[3], v[4], v[5]};
}

LinkObject LinkObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  LinkObject o;
  o.picture = s.Text(0);
  o.idle_sound = s.Sound(1, 2, 3);
  o.use_sound = s.Sound(2, 4, 5);
  o.refusal_sound = s.Sound(3, 9, 10);
  o.area_height = s.Text(4);
  o.area_width = s.Text(5);
  o.cursor = s.Number(0);
  o.mode = s.Number(1);
  o.required = s.Required(6);
  o.action = s.Number(11);
  o.target_scene = s.Number(12);
  o.visibility = s.Visible(13);
  o.changes_flag = s.Yes(17);
  o.change = s.Change(18);
  o.once_only = s.Yes(21);
  o.invisible_area = s.Number(25) != 0;
  return o;
}

GoodieObject GoodieObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  GoodieObject o;
  o.picture = s.Text(0);
  o.idle_sound = s.Sound(1, 1, 2);
  o.take_media = s.Sound(2, 3, 4);
  o.refusal_sound = s.Sound(3, 9, 10);
  o.mode = s.Number(0);
  o.item = s.Number(5);
  o.required = s.Required(6);
  o.visibility = s.Visible(11);
  o.changes_flag = s.Yes(15);
  o.change = s.Change(16);
  return o;
}

SwitchObject SwitchObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  SwitchObject o;
  o.picture = s.Text(0);
  o.off_sound = s.Sound(1, 2, 3);
  o.on_sound = s.Sound(2, 5, 6);
  o.refusal_sound = s.Sound(3, 10, 11);
  o.flag = s.Number(0);
  o.on_value = s.Number(4);
  o.required = s.Required(7);
  o.visibility = s.Visible(12);
  return o;
}

ReactorObject ReactorObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  ReactorObject o;
  o.picture = s.Text(0);
  o.movie = s.Text(1);
  o.sound = s.Sound(2, 2, 3);
  o.reaction = s.Number(0);
  o.movie_param = s.Number(1);
  o.visibility = s.Visible(4);
  o.changes_flag = s.Yes(8);
  o.change = s.Change(9);
  o.adds_location = s.Yes(12);
  o.location = s.Number(13);
  o.once_only = s.Yes(14);
  return o;
}

ResponderObject::Trigger ResponderObject::ReadTrigger(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  return {s.Number(0), s.Condition(1), s.Yes(4)};
}

ResponderObject ResponderObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  ResponderObject o;
  o.trigger = ReadTrigger(t, slot);
  o.watched_sound = s.Text(0);
  o.starts_soundtrack = s.Yes(5);
  o.soundtrack = s.Text(1);
  o.soundtrack_volume = s.Number(6);
  o.plays_media = s.Yes(7);
  o.media = {s.Text(2), s.Number(8), s.Number(9)};
  o.switch_mode = s.Number(10);
  o.target_scene = s.Number(11);
  o.changes_flag = s.Yes(12);
  o.change = s.Change(13);
  o.adds_location = s.Yes(16);
  o.location = s.Number(17);
  o.adds_item = s.Yes(18);
  o.item = s.Number(19);
  o.ends_game = s.Yes(21);
  return o;
}

DelayObject DelayObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  DelayObject o;
  o.start_mode = s.Number(0);
  o.condition = s.Condition(1);
  o.seconds = s.Number(4);
  o.change = s.Change(5);
  o.busy_cursor = s.Yes(8);
  return o;
}

MultiTriggerObject MultiTriggerObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  MultiTriggerObject o;
  o.mode = s.Number(0);
  // Branch k takes eight fields from 8k - 7: condition, change switch, change, scene.
  for (int k = 1; k <= 3; ++k) {
    const int first = 8 * k - 7;
    o.branches[static_cast<size_t>(k - 1)] = {s.Condition(first), s.Yes(first + 3),
                                              s.Change(first + 4), s.Number(first + 7)};
  }
  return o;
}

ConversationObject ConversationObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  ConversationObject o;
  o.record = s.Number(0);
  o.kind = s.Number(1);
  o.condition = s.Condition(2);
  o.change_only = s.Yes(6);
  o.blocking = s.Yes(7);
  return o;
}

FlagConjunctionObject::Conditions FlagConjunctionObject::ReadConditions(const SceneTables& t,
                                                                        int16_t slot) {
  const Slot s(t, slot);
  Conditions c;
  c.mode = s.Number(0);
  // Term k takes four fields from 4k - 3: enabled, then its condition.
  for (int k = 1; k <= 6; ++k) {
    c.terms[static_cast<size_t>(k - 1)] = {s.Number(4 * k - 3), s.Condition(4 * k - 2)};
  }
  return c;
}

FlagConjunctionObject FlagConjunctionObject::Read(const SceneTables& t, int16_t slot) {
  const Slot s(t, slot);
  FlagConjunctionObject o;
  o.conditions = ReadConditions(t, slot);
  o.flag_text = s.Text(0);
  o.value_text = s.Text(1);
  o.op_text = s.Text(2);
  return o;
}

std::optional<int16_t> SoundChannelField(const SceneTables& t, int16_t type, int16_t slot,
                                         int16_t which) {
  const Slot s(t, slot);
  switch (type) {
    case kAmbient:
      return s.Number(14);
    case kLink:
      if (which >= 1 && which <= 3) return s.Number(21 + which);
      break;
    case kGoodie:
      if (which >= 1 && which <= 3) return s.Number(18 + which);
      break;
    case kSwitch:
      if (which >= 1 && which <= 2) return s.Number(15 + which);
      break;
    case kReactor:
      return s.Number(15);
    case kResponder:
      return s.Number(20);
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace qv::data
