#pragma once
// The saved-game record of Saved\<name>.sav (one record of 1113 bytes). Arrays are
// stored lowest index first; index 0 of each array here is element 1 of the game's.

#include <array>
#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct SavedGameRecord {
  static constexpr int kSize = 1113;

  std::string Description;                 // 0    T50
  std::string SaveDate;                    // 50   T10 mm-dd-yyyy
  std::string SaveTime;                    // 60   T10 "hh:mm AMPM"
  std::string TrackName;                   // 70   T15
  int32_t TrackVolume = 0;                 // 85   32-bit
  int16_t Scene = 0;                       // 89
  std::array<int16_t, 255> Flags{};        // 91   flags 1..255
  std::array<int16_t, 20> TimerRunning{};  // 601
  std::array<int16_t, 20> DelaySecs{};     // 641
  std::array<int16_t, 20> DelayFlag{};     // 681
  std::array<int16_t, 20> DelayValue{};    // 721
  std::array<int16_t, 20> DelayOp{};       // 761
  std::array<int16_t, 16> Inventory{};     // 801
  std::array<int16_t, 20> MapLocations{};  // 833
  std::array<std::string, 10> Reserved1;   // 873  T20 x 10
  std::array<int16_t, 20> Reserved2{};     // 1073
};

void VisitFields(SavedGameRecord& r, FieldVisitor& v);

}  // namespace qv::data
