#include "engine/game_state.h"

namespace qv::engine {

SlotTable<int16_t>& HiddenObjectMemories::MultiLastValue(int k) {
  switch (k) {
    case 1:
      return MultiLastValue1;
    case 2:
      return MultiLastValue2;
    case 3:
      return MultiLastValue3;
  }
  Raise(kErrSubscript);
}

SlotTable<int16_t>& HiddenObjectMemories::ConjLastValue(int k) {
  switch (k) {
    case 1:
      return ConjLastValue1;
    case 2:
      return ConjLastValue2;
    case 3:
      return ConjLastValue3;
    case 4:
      return ConjLastValue4;
    case 5:
      return ConjLastValue5;
    case 6:
      return ConjLastValue6;
  }
  Raise(kErrSubscript);
}

void HiddenObjectMemories::Clear() {
  RespLastValue.Fill(0);
  WatchedWav.Fill("");
  WavPlayed.Fill(false);
  for (int k = 1; k <= 3; ++k)
    MultiLastValue(k).Fill(0);
  ConvLastValue.Fill(0);
  for (int k = 1; k <= 6; ++k)
    ConjLastValue(k).Fill(0);
}

std::string OperatorText(int16_t op) {
  switch (op) {
    case kOpEqual:
      return "= ";
    case kOpNotEqual:
      return "<> ";
    case kOpLess:
      return "< ";
    case kOpGreater:
      return "> ";
    default:
      return "";
  }
}

}  // namespace qv::engine
