#include "data/item_record.h"

namespace qv::data {

void VisitFields(ItemRecord& r, FieldVisitor& v) {
  v.Text({"ItemText1"}, 0, 15, r.ItemText1);
  v.Text({"BarPicture"}, 15, 15, r.BarPicture);
  v.Text({"HighlightPicture"}, 30, 15, r.HighlightPicture);
  v.Int16({"InInventoryAtStart"}, 45, r.InInventoryAtStart);
  v.Int16({"CanCombine"}, 47, r.CanCombine);
  v.Int16({"CombinesWith"}, 49, r.CombinesWith);
  v.Int16({"CombineProduct"}, 51, r.CombineProduct);
  v.Text({"WrongUseSound"}, 53, 15, r.WrongUseSound);
  v.Int16({"WrongUseVolume"}, 68, r.WrongUseVolume);
  v.Int16({"WrongUsePan"}, 70, r.WrongUsePan);
  v.Text({"ExamineSound"}, 72, 15, r.ExamineSound);
  v.Int16({"ExamineVolume"}, 87, r.ExamineVolume);
  v.Int16({"ExaminePan"}, 89, r.ExaminePan);
  v.Int16({"ExamineMode"}, 91, r.ExamineMode);
  v.Text({"ItemName"}, 93, 30, r.ItemName);
  v.Int16({"CloseupMode"}, 123, r.CloseupMode);
  v.Text({"CloseupFile"}, 125, 15, r.CloseupFile);
  v.Int16({"AllowDuplicates"}, 140, r.AllowDuplicates);
  v.Int16({"ExamineGivesItem"}, 142, r.ExamineGivesItem);
  v.Int16({"ExamineItemGiven"}, 144, r.ExamineItemGiven);
  v.Int16({"ExamineAddsLocation"}, 146, r.ExamineAddsLocation);
  v.Int16({"ExamineLocation"}, 148, r.ExamineLocation);
  v.Int16({"ExamineChangesFlag"}, 150, r.ExamineChangesFlag);
  v.Int16({"ExamineFlag"}, 152, r.ExamineFlag);
  v.Int16({"ExamineFlagValue"}, 154, r.ExamineFlagValue);
  v.Int16({"ExamineFlagOp"}, 156, r.ExamineFlagOp);
  v.Text({"HandPicture"}, 158, 15, r.HandPicture);
  v.Text({"CombineSound"}, 173, 15, r.CombineSound);
  v.Text({"ItemText29"}, 188, 15, r.ItemText29);
  v.Int16({"CombineVolume"}, 203, r.CombineVolume);
  v.Int16({"CombinePan"}, 205, r.CombinePan);
  v.Int16({"ItemInt32"}, 207, r.ItemInt32);
}

}  // namespace qv::data
