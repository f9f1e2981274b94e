#pragma once
// The scene's objects by name. A slot of the scene tables is a row of nine texts and 33
// numbers whose meaning depends on the object's type; each view below reads one slot as
// the object of its type, with the fields named as the game's rules use them. This is
// the one place that knows which column holds what.
//
// A view is a copy: it stays the object as it was read even when the tables change (a
// flag change that loads another scene). Code that must see the tables as they are now
// reads the view again.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "data/scene_tables.h"

namespace qv::data {

// Object type codes of a scene slot.
enum ObjectType : int16_t {
  kAmbient = 0,
  kLink = 1,
  kGoodie = 2,
  kSwitch = 3,
  kReactor = 4,
  kResponder = 5,
  kDelay = 6,
  kMultiTrigger = 7,
  kConversation = 8,
  kFlagConjunction = 9,
};

// The name of a type ("Ambient", ... "Flag Conjunction"; ">>> Unknown <<<" for others).
const char* ObjectTypeName(int16_t type);

// A condition on a flag: (flag, comparison code, value).
struct FlagCondition {
  int16_t flag = 0;
  int16_t op = 0;
  int16_t value = 0;
};

// A change of a flag: (flag, value, operation 0 set / 1 add).
struct FlagChange {
  int16_t flag = 0;
  int16_t value = 0;
  int16_t op = 0;
};

// When a visible object shows: mode 1 always, 2 while the condition holds, else never.
struct Visibility {
  int16_t mode = 0;
  FlagCondition condition;
};

// A sound an object plays: the file in resource\mmedia\ ("" = none), its volume and pan.
struct ObjectSound {
  std::string file;
  int16_t volume = 0;
  int16_t pan = 0;
};

// An inventory item an object requires in hand, and whether the item stays afterwards.
struct RequiredItem {
  bool required = false;
  int16_t item = 0;
  bool kept = false;
};

struct AmbientObject {
  std::string picture;
  int16_t mode = 0;   // 3: the sound plays once; also the picture's animation mode
  ObjectSound sound;  // played while the object shows
  Visibility visibility;
  bool changes_flag = false;  // applies `change` on every update pass while shown
  FlagChange change;
  bool adds_location = false;  // adds `location` to the map while shown
  int16_t location = 0;

  static AmbientObject Read(const SceneTables& t, int16_t slot);
};

struct LinkObject {
  std::string picture;
  ObjectSound idle_sound;     // repeats while shown and not yet used
  ObjectSound use_sound;      // plays when the link is used
  ObjectSound refusal_sound;  // the wrong item, or none
  // The size of an invisible clickable area, as decimal texts.
  std::string area_height;
  std::string area_width;
  int16_t cursor = 0;  // shown over the link (0 = the default cursor)
  int16_t mode = 0;    // 3: the picture animates only when used; its animation mode
  RequiredItem required;
  int16_t action = 0;  // 1: go to `target_scene`, 2: open the map
  int16_t target_scene = 0;
  Visibility visibility;
  bool changes_flag = false;  // applies `change` when used
  FlagChange change;
  bool once_only = false;
  bool invisible_area = false;  // an area of `area_width` x `area_height`, no picture

  static LinkObject Read(const SceneTables& t, int16_t slot);
};

struct GoodieObject {
  std::string picture;
  ObjectSound idle_sound;  // repeats while shown, unless `mode` is 3
  // A sound ("...wav") or a movie ("...avi") when taken; a movie's argument is the volume.
  ObjectSound take_media;
  ObjectSound refusal_sound;
  int16_t mode = 0;  // 3: still and silent while shown; its animation mode
  int16_t item = 0;  // the inventory item given
  RequiredItem required;
  Visibility visibility;
  bool changes_flag = false;  // applies `change` when taken
  FlagChange change;

  static GoodieObject Read(const SceneTables& t, int16_t slot);
};

struct SwitchObject {
  std::string picture;
  ObjectSound off_sound;  // turned off (its flag was not 0)
  ObjectSound on_sound;   // turned on
  ObjectSound refusal_sound;
  int16_t flag = 0;      // the switch's flag: 0 is off
  int16_t on_value = 0;  // the value it takes when turned on
  RequiredItem required;
  Visibility visibility;

  static SwitchObject Read(const SceneTables& t, int16_t slot);
};

struct ReactorObject {
  std::string picture;
  std::string movie;  // played by reactions 3 and 4
  // Played by reactions 1, 2 and 5; repeated while shown for reactions 3 and 4.
  ObjectSound sound;
  // 1, 2: play `sound`; 3, 4: play `movie`; 5: animate the picture (still until clicked)
  // and play `sound`.
  int16_t reaction = 0;
  int16_t movie_param = 0;
  Visibility visibility;
  bool changes_flag = false;  // applies `change` when clicked
  FlagChange change;
  bool adds_location = false;  // adds `location` to the map when clicked
  int16_t location = 0;
  bool once_only = false;

  static ReactorObject Read(const SceneTables& t, int16_t slot);
};

struct ResponderObject {
  // What decides whether it fires. The rules look at every slot after every flag change,
  // so this part is read on its own; the rest only when the responder fires.
  struct Trigger {
    // 1: `condition` holds; 2: `watched_sound` was asked for; any other: never fires.
    int16_t kind = 0;
    FlagCondition condition;
    bool change_only = false;  // fires only when the condition's flag has a new value
  };

  Trigger trigger;
  std::string watched_sound;
  bool starts_soundtrack = false;
  std::string soundtrack;
  int16_t soundtrack_volume = 0;
  bool plays_media = false;
  // A sound ("...wav") or a movie ("...avi"); a movie's argument is the volume.
  ObjectSound media;
  // 1: switch to `target_scene`; any other non-zero value still takes the scene
  // switching responders' sound channel.
  int16_t switch_mode = 0;
  int16_t target_scene = 0;
  bool changes_flag = false;
  FlagChange change;
  bool adds_location = false;
  int16_t location = 0;
  bool adds_item = false;
  int16_t item = 0;
  bool ends_game = false;

  static Trigger ReadTrigger(const SceneTables& t, int16_t slot);
  static ResponderObject Read(const SceneTables& t, int16_t slot);
};

struct DelayObject {
  int16_t start_mode = 0;  // 0: may start at scene entry; 1: only after a later change
  FlagCondition condition;
  int16_t seconds = 0;
  FlagChange change;  // applied when the delay expires
  bool busy_cursor = false;

  static DelayObject Read(const SceneTables& t, int16_t slot);
};

struct MultiTriggerObject {
  // One of the three conditions, each with its own action.
  struct Branch {
    FlagCondition condition;
    bool changes_flag = false;
    FlagChange change;
    int16_t scene = 0;  // 0: no scene switch
  };

  int16_t mode = 0;  // 0: also evaluated at scene entry; 1: change-only
  std::array<Branch, 3> branches;

  static MultiTriggerObject Read(const SceneTables& t, int16_t slot);
};

struct ConversationObject {
  int16_t record = 0;  // the conversation record shown
  int16_t kind = 0;    // 1: shown on scene entry; 2: shown while `condition` holds
  FlagCondition condition;
  bool change_only = false;
  // While the box shows, clicks on scene objects other than Goodies are ignored.
  bool blocking = false;

  static ConversationObject Read(const SceneTables& t, int16_t slot);
};

struct FlagConjunctionObject {
  // One of the six conditions; it counts when `enabled` is 1.
  struct Term {
    int16_t enabled = 0;
    FlagCondition condition;
  };
  // What decides whether it fires, read on its own as a responder's trigger is.
  struct Conditions {
    int16_t mode = 0;  // 0: one-shot; 1: change-only and re-armed by the update pass
    std::array<Term, 6> terms;
  };

  Conditions conditions;
  // The flag change, as decimal texts.
  std::string flag_text;
  std::string value_text;
  std::string op_text;

  static Conditions ReadConditions(const SceneTables& t, int16_t slot);
  static FlagConjunctionObject Read(const SceneTables& t, int16_t slot);
};

// One of the scene's four direction links, k = 1 up, 2 right, 3 down, 4 left (the file
// keeps them in the order up, down, left, right). Any other k reads as no link.
struct DirectionLink {
  int16_t cursor = 0;        // the built-in cursor shown over the link
  int16_t target_scene = 0;  // 0: no link
  int16_t top = 0;
  int16_t left = 0;
  int16_t width = 0;
  int16_t height = 0;

  static DirectionLink Read(const SceneTables& t, int k);
};

// The sound channel field of an object's sound, by object type and which of its sounds
// (1 the first ...): Ambient and Reactor have one field for all, a Link and a Goodie
// one per sound, a Switch one for both switching sounds (1) and one for its refusal (2),
// a Responder one. Nothing for other types and sounds.
std::optional<int16_t> SoundChannelField(const SceneTables& t, int16_t type, int16_t slot,
                                         int16_t which);

}  // namespace qv::data
