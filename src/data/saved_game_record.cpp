#include "data/saved_game_record.h"

namespace qv::data {

namespace {

template <size_t N>
void IntArray(FieldVisitor& v, std::string_view name, int offset, std::array<int16_t, N>& a) {
  for (size_t k = 0; k < N; ++k) {
    v.Int16({name, static_cast<int>(k)}, offset + 2 * static_cast<int>(k), a[k]);
  }
}

}  // namespace

void VisitFields(SavedGameRecord& r, FieldVisitor& v) {
  v.Text({"Description"}, 0, 50, r.Description);
  v.Text({"SaveDate"}, 50, 10, r.SaveDate);
  v.Text({"SaveTime"}, 60, 10, r.SaveTime);
  v.Text({"TrackName"}, 70, 15, r.TrackName);
  v.Int32({"TrackVolume"}, 85, r.TrackVolume);
  v.Int16({"Scene"}, 89, r.Scene);
  IntArray(v, "Flags", 91, r.Flags);
  IntArray(v, "TimerRunning", 601, r.TimerRunning);
  IntArray(v, "DelaySecs", 641, r.DelaySecs);
  IntArray(v, "DelayFlag", 681, r.DelayFlag);
  IntArray(v, "DelayValue", 721, r.DelayValue);
  IntArray(v, "DelayOp", 761, r.DelayOp);
  IntArray(v, "Inventory", 801, r.Inventory);
  IntArray(v, "MapLocations", 833, r.MapLocations);
  for (int k = 0; k < 10; ++k)
    v.Text({"Reserved1", k}, 873 + 20 * k, 20, r.Reserved1[k]);
  IntArray(v, "Reserved2", 1073, r.Reserved2);
}

}  // namespace qv::data
