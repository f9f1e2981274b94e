#pragma once
// The map location record of resource\Quorvex2.dat (112 bytes).

#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct LocationRecord {
  static constexpr int kSize = 112;

  std::string LocName;          // 0   T15  tool tip of the location picture
  std::string LocPicture;       // 15  T15  "(None)" = standard picture; "Del" or "" = no location
  int16_t LocLeft = 0;          // 30
  int16_t LocTop = 0;           // 32
  int16_t LocInt5 = 0;          // 34  not used by the player
  int16_t LocScene = 0;         // 36  0 = none
  int16_t LocOnMapAtStart = 0;  // 38  1 = on the map from the start
  int16_t LocMediaOn = 0;       // 40
  std::string LocMedia;         // 42  T15  wav or avi
  int16_t LocVolume = 0;        // 57  sound volume or movie option
  int16_t LocPan = 0;           // 59
  std::string MapBackground;    // 61  T15  record 1 only
  std::string LocText13;        // 76  T15  not used
  std::string LocText14;        // 91  T15  not used
  int16_t LocInt15 = 0;         // 106 not used
  int16_t LocInt16 = 0;         // 108 not used
  int16_t LocInt17 = 0;         // 110 not used
};

void VisitFields(LocationRecord& r, FieldVisitor& v);

}  // namespace qv::data
