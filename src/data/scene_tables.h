#pragma once
// The current scene as the rest of the player reads it: the header values by name, the
// four links and the per-slot object tables, filled from one scene record. Texts are
// trimmed of blanks at both ends and converted to UTF-8.

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "data/scene_record.h"

namespace qv::data {

// One table entry per object slot 1..20 (entry 0 unused).
template <typename T>
using SlotTable = VbArray<T, 0, 20>;

struct SceneTables {
  // The number of the scene last read; 0 = no scene.
  int16_t CurrentScene = 0;

  std::string HeaderText1;
  int16_t JumpEnabled = 0;
  int16_t JumpFlag = 0;
  int16_t JumpOp = 0;
  int16_t JumpValue = 0;
  int16_t JumpScene = 0;
  std::string ScenePicture;
  std::string SoundtrackFile;
  int16_t SoundtrackVolume = 0;
  std::string EntrySoundA;
  int16_t EntrySoundAVolume = 0;
  int16_t EntrySoundAPan = 0;
  std::string ExitSound;
  int16_t ExitSoundVolume = 0;
  int16_t ExitSoundPan = 0;
  std::string EntrySoundB;
  int16_t EntrySoundBVolume = 0;
  int16_t EntrySoundBPan = 0;
  std::string EntryMovie;
  int16_t EntryMovieParam = 0;
  std::string ExitMovie;
  int16_t ExitMovieParam = 0;
  int16_t EntryFlagOn = 0;
  int16_t EntryFlag = 0;
  int16_t EntryFlagValue = 0;
  int16_t EntryFlagOp = 0;
  std::string HeaderText9;
  std::string HeaderText10;
  std::string HeaderText11;
  int16_t HeaderInt19 = 0;
  int16_t HeaderInt20 = 0;
  int16_t HeaderInt21 = 0;

  // Element 0 cursor, 1 target scene (0 = no link), 2 top, 3 left, 4 width, 5 height.
  VbArray<int16_t, 0, 5> LinkUp;
  VbArray<int16_t, 0, 5> LinkDown;
  VbArray<int16_t, 0, 5> LinkLeft;
  VbArray<int16_t, 0, 5> LinkRight;

  SlotTable<int16_t> ObjType;
  SlotTable<int16_t> ObjX;
  SlotTable<int16_t> ObjY;
  // ObjS[k][i] is text field ObjSk of slot i (k = 0..8).
  VbArray<SlotTable<std::string>, 0, 8> ObjS;
  // ObjN[k][i] is integer field ObjNk of slot i (k = 0..32).
  VbArray<SlotTable<int16_t>, 0, 32> ObjN;

  // Copies every field of a scene record into the tables (CurrentScene unchanged).
  void CopyFrom(const SceneRecord& record);
};

// A record text as the tables hold it: trimmed of blanks at both ends, in UTF-8.
std::string TableText(const std::string& raw);

}  // namespace qv::data
