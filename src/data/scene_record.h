#pragma once
// The scene record of resource/Quorvex1.dat: a 255-byte header and 20 object slots of
// 207 bytes each (4395 bytes).

#include <array>
#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct SceneObjectSlot {
  static constexpr int kSize = 207;

  int16_t ObjType = 0;              // +0
  int16_t ObjX = 0;                 // +2
  int16_t ObjY = 0;                 // +4
  std::array<std::string, 9> ObjS;  // +6 + 15k, T15 each
  std::array<int16_t, 33> ObjN{};   // +141 + 2k
};

struct SceneRecord {
  static constexpr int kSize = 4395;
  static constexpr int kHeaderSize = 255;
  static constexpr int kSlots = 20;

  std::string HeaderText1;        // 0    T15, not read by the player
  int16_t JumpEnabled = 0;        // 15
  int16_t JumpFlag = 0;           // 17
  int16_t JumpOp = 0;             // 19
  int16_t JumpValue = 0;          // 21
  int16_t JumpScene = 0;          // 23
  std::string ScenePicture;       // 25   T15
  std::string SoundtrackFile;     // 40   T15
  int16_t SoundtrackVolume = 0;   // 55
  std::string EntrySoundA;        // 57   T15
  int16_t EntrySoundAVolume = 0;  // 72
  int16_t EntrySoundAPan = 0;     // 74
  std::string ExitSound;          // 76   T15
  int16_t ExitSoundVolume = 0;    // 91
  int16_t ExitSoundPan = 0;       // 93
  std::string EntrySoundB;        // 95   T15
  int16_t EntrySoundBVolume = 0;  // 110
  int16_t EntrySoundBPan = 0;     // 112
  std::string EntryMovie;         // 114  T15
  int16_t EntryMovieParam = 0;    // 129
  std::string ExitMovie;          // 131  T15
  int16_t ExitMovieParam = 0;     // 146
  int16_t EntryFlagOn = 0;        // 148
  int16_t EntryFlag = 0;          // 150
  int16_t EntryFlagValue = 0;     // 152
  int16_t EntryFlagOp = 0;        // 154
  std::string HeaderText9;        // 156  T15, not read
  std::string HeaderText10;       // 171  T15, not read
  std::string HeaderText11;       // 186  T15, not read
  int16_t HeaderInt19 = 0;        // 201  not read
  int16_t HeaderInt20 = 0;        // 203  not read
  int16_t HeaderInt21 = 0;        // 205  not read
  // Elements 0 and 1 (cursor, target scene) of the four links come first, at 207..221 in
  // the order up, down, left, right; then elements 2..5 (top, left, width, height) of
  // each link at 223..253 in the same order.
  std::array<int16_t, 6> LinkUp{};
  std::array<int16_t, 6> LinkDown{};
  std::array<int16_t, 6> LinkLeft{};
  std::array<int16_t, 6> LinkRight{};
  std::array<SceneObjectSlot, kSlots> Objects;  // slot n at 255 + 207 * (n - 1)

  // Byte offset of object slot n (1..20).
  static constexpr int SlotOffset(int n) { return kHeaderSize + SceneObjectSlot::kSize * (n - 1); }
};

void VisitFields(SceneRecord& r, FieldVisitor& v);

}  // namespace qv::data
