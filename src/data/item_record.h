#pragma once
// The inventory item record of resource\Quorvex3.dat (209 bytes).

#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct ItemRecord {
  static constexpr int kSize = 209;

  std::string ItemText1;            // 0   T15  not used by the player
  std::string BarPicture;           // 15  T15
  std::string HighlightPicture;     // 30  T15
  int16_t InInventoryAtStart = 0;   // 45  1 = held when a new game starts
  int16_t CanCombine = 0;           // 47
  int16_t CombinesWith = 0;         // 49
  int16_t CombineProduct = 0;       // 51
  std::string WrongUseSound;        // 53  T15
  int16_t WrongUseVolume = 0;       // 68
  int16_t WrongUsePan = 0;          // 70
  std::string ExamineSound;         // 72  T15
  int16_t ExamineVolume = 0;        // 87
  int16_t ExaminePan = 0;           // 89
  int16_t ExamineMode = 0;          // 91  0 = no close-up, 1 = close-up window
  std::string ItemName;             // 93  T30
  int16_t CloseupMode = 0;          // 123
  std::string CloseupFile;          // 125 T15
  int16_t AllowDuplicates = 0;      // 140 0 = one copy only
  int16_t ExamineGivesItem = 0;     // 142
  int16_t ExamineItemGiven = 0;     // 144
  int16_t ExamineAddsLocation = 0;  // 146
  int16_t ExamineLocation = 0;      // 148
  int16_t ExamineChangesFlag = 0;   // 150
  int16_t ExamineFlag = 0;          // 152
  int16_t ExamineFlagValue = 0;     // 154
  int16_t ExamineFlagOp = 0;        // 156
  std::string HandPicture;          // 158 T15
  std::string CombineSound;         // 173 T15
  std::string ItemText29;           // 188 T15 not used
  int16_t CombineVolume = 0;        // 203
  int16_t CombinePan = 0;           // 205
  int16_t ItemInt32 = 0;            // 207 not used
};

void VisitFields(ItemRecord& r, FieldVisitor& v);

}  // namespace qv::data
