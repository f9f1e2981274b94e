#include "data/location_record.h"

namespace qv::data {

void VisitFields(LocationRecord& r, FieldVisitor& v) {
  v.Text({"LocName"}, 0, 15, r.LocName);
  v.Text({"LocPicture"}, 15, 15, r.LocPicture);
  v.Int16({"LocLeft"}, 30, r.LocLeft);
  v.Int16({"LocTop"}, 32, r.LocTop);
  v.Int16({"LocInt5"}, 34, r.LocInt5);
  v.Int16({"LocScene"}, 36, r.LocScene);
  v.Int16({"LocOnMapAtStart"}, 38, r.LocOnMapAtStart);
  v.Int16({"LocMediaOn"}, 40, r.LocMediaOn);
  v.Text({"LocMedia"}, 42, 15, r.LocMedia);
  v.Int16({"LocVolume"}, 57, r.LocVolume);
  v.Int16({"LocPan"}, 59, r.LocPan);
  v.Text({"MapBackground"}, 61, 15, r.MapBackground);
  v.Text({"LocText13"}, 76, 15, r.LocText13);
  v.Text({"LocText14"}, 91, 15, r.LocText14);
  v.Int16({"LocInt15"}, 106, r.LocInt15);
  v.Int16({"LocInt16"}, 108, r.LocInt16);
  v.Int16({"LocInt17"}, 110, r.LocInt17);
}

}  // namespace qv::data
