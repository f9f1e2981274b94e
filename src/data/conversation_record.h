#pragma once
// The conversation record of resource\Quorvex5.dat (1712 bytes): up to five lines, each
// with a flag change and a sound or movie played when clicked.

#include <array>
#include <cstdint>
#include <string>

#include "data/field_visitor.h"

namespace qv::data {

struct ConversationRecord {
  static constexpr int kSize = 1712;
  static constexpr int kLines = 5;
  template <typename T>
  using Lines = std::array<T, kLines>;

  int16_t ConvInt0 = 0;                             // 0    not read by the player
  std::string ConvText0;                            // 2    T15, not read
  Lines<std::string> ConvLineText;                  // 17   T50 x 5; "" = no line
  Lines<int16_t> ConvLineFlagOn{};                  // 267
  Lines<int16_t> ConvLineFlag{};                    // 277
  Lines<int16_t> ConvLineValue{};                   // 287
  Lines<int16_t> ConvLineOp{};                      // 297
  Lines<int16_t> ConvLineMediaOn{};                 // 307
  Lines<std::string> ConvLineMedia;                 // 317  T15 x 5
  Lines<int16_t> ConvLineVolume{};                  // 392
  Lines<int16_t> ConvLinePan{};                     // 402
  std::array<Lines<std::string>, 5> ConvExtraText;  // 412 + 250k, T50 x 5 each; not read
  std::array<Lines<int16_t>, 5> ConvExtraInt{};     // 1662 + 10k; not read
};

void VisitFields(ConversationRecord& r, FieldVisitor& v);

}  // namespace qv::data
