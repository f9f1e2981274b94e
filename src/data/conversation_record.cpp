#include "data/conversation_record.h"

namespace qv::data {

void VisitFields(ConversationRecord& r, FieldVisitor& v) {
  using R = ConversationRecord;
  v.Int16({"ConvInt0"}, 0, r.ConvInt0);
  v.Text({"ConvText0"}, 2, 15, r.ConvText0);
  for (int k = 0; k < R::kLines; ++k)
    v.Text({"ConvLineText", k}, 17 + 50 * k, 50, r.ConvLineText[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineFlagOn", k}, 267 + 2 * k, r.ConvLineFlagOn[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineFlag", k}, 277 + 2 * k, r.ConvLineFlag[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineValue", k}, 287 + 2 * k, r.ConvLineValue[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineOp", k}, 297 + 2 * k, r.ConvLineOp[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineMediaOn", k}, 307 + 2 * k, r.ConvLineMediaOn[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Text({"ConvLineMedia", k}, 317 + 15 * k, 15, r.ConvLineMedia[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLineVolume", k}, 392 + 2 * k, r.ConvLineVolume[k]);
  for (int k = 0; k < R::kLines; ++k)
    v.Int16({"ConvLinePan", k}, 402 + 2 * k, r.ConvLinePan[k]);
  static constexpr std::string_view kText[5] = {
      "ConvExtraText1", "ConvExtraText2", "ConvExtraText3", "ConvExtraText4", "ConvExtraText5"};
  for (int a = 0; a < 5; ++a) {
    for (int k = 0; k < R::kLines; ++k) {
      v.Text({kText[a], k}, 412 + 250 * a + 50 * k, 50, r.ConvExtraText[a][k]);
    }
  }
  static constexpr std::string_view kInt[5] = {"ConvExtraInt1", "ConvExtraInt2", "ConvExtraInt3",
                                               "ConvExtraInt4", "ConvExtraInt5"};
  for (int a = 0; a < 5; ++a) {
    for (int k = 0; k < R::kLines; ++k) {
      v.Int16({kInt[a], k}, 1662 + 10 * a + 2 * k, r.ConvExtraInt[a][k]);
    }
  }
}

}  // namespace qv::data
