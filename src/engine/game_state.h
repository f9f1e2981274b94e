#pragma once
// The whole progress of a game: 255 flags and a handful of state words, and the
// per-slot memories the scene's rules keep while the player is in a scene.

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "data/scene_tables.h"

namespace qv::engine {

using data::SlotTable;

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
