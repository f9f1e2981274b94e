#pragma once
// The whole progress of a game: 255 flags and a handful of state words, and the
// per-slot memories the scene's rules keep while the player is in a scene.

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "data/scene_objects.h"
#include "data/scene_tables.h"

namespace qv::engine {

using data::SlotTable;

using data::kAmbient;
using data::kConversation;
using data::kDelay;
using data::kFlagConjunction;
using data::kGoodie;
using data::kLink;
using data::kMultiTrigger;
using data::kReactor;
using data::kResponder;
using data::kSwitch;
using data::ObjectType;

// What the rules write into a slot's ObjType to keep a hidden object from firing: for the
// rest of the visit (a scene load restores the authored type), or while an update pass
// runs (its end restores them).
enum SlotState : int16_t {
  kFired = -1,              // a Responder or a Delay that fired
  kConjunctionSpent = -99,  // a one-shot Flag Conjunction that fired
  kSuspendedResponder = -2,
  kSuspendedDelay = -3,
  kSuspendedMultiTrigger = -4,
  kSuspendedConversation = -5,
  // Also a change-only Flag Conjunction that fired: the next pass re-arms it.
  kSuspendedConjunction = -6,
};

// The suspended code of a hidden type, and the type a suspended code stands for.
constexpr int16_t Suspended(int16_t type) {
  return static_cast<int16_t>(kSuspendedResponder - (type - kResponder));
}
constexpr bool IsSuspended(int16_t code) {
  return code <= kSuspendedResponder && code >= kSuspendedConjunction;
}
constexpr int16_t Resumed(int16_t code) {
  return static_cast<int16_t>(kResponder + (kSuspendedResponder - code));
}

// Comparison codes of a flag condition.
enum FlagOp : int16_t { kOpEqual = 0, kOpNotEqual = 1, kOpLess = 2, kOpGreater = 3 };
// Operations of a flag change.
enum ChangeOp : int16_t { kSet = 0, kAdd = 1 };

struct GameState {
  // Entries 1..255 are the game flags; entry 0 is never a game flag.
  VbArray<int16_t, 0, 255> Flags;
  int16_t LastFlagChanged = 0;
  // The flag holding the score; -1 when the game has no score.
  int16_t ScoreFlag = 0;
  bool LoadedNewScene = false;
  int16_t NewSceneNum = 0;
  bool RestoringGame = false;
  bool VerboseLog = false;
  // The slot of the conversation object whose box is showing; 0 when none.
  int16_t ShownConversation = 0;
};

// The memories of the hidden objects, per slot of the current scene.
struct HiddenObjectMemories {
  SlotTable<int16_t> RespLastValue;
  SlotTable<std::string> WatchedWav;
  SlotTable<bool> WavPlayed;
  SlotTable<int16_t> MultiLastValue1;
  SlotTable<int16_t> MultiLastValue2;
  SlotTable<int16_t> MultiLastValue3;
  SlotTable<int16_t> ConvLastValue;
  SlotTable<int16_t> ConjLastValue1;
  SlotTable<int16_t> ConjLastValue2;
  SlotTable<int16_t> ConjLastValue3;
  SlotTable<int16_t> ConjLastValue4;
  SlotTable<int16_t> ConjLastValue5;
  SlotTable<int16_t> ConjLastValue6;

  SlotTable<int16_t>& MultiLastValue(int k);
  SlotTable<int16_t>& ConjLastValue(int k);
  // Numbers to 0, names to "" (a new game, the end of a game).
  void Clear();
};

// What clicks on scene objects remember during one visit of a scene; cleared when a
// scene loads.
struct ObjectClickState {
  SlotTable<bool> HotSpotUsed;
  SlotTable<bool> ReactorUsed;
  SlotTable<bool> SwitchAnimating;
  SlotTable<int16_t> SwitchState;
};

// The text of a comparison code in log lines: "= ", "<> ", "< ", "> ".
std::string OperatorText(int16_t op);

}  // namespace qv::engine
