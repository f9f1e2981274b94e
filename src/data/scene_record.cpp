#include "data/scene_record.h"

namespace qv::data {

namespace {

void VisitSlot(SceneObjectSlot& s, int base, FieldVisitor& v) {
  v.Int16({"ObjType"}, base + 0, s.ObjType);
  v.Int16({"ObjX"}, base + 2, s.ObjX);
  v.Int16({"ObjY"}, base + 4, s.ObjY);
  static constexpr std::string_view kS[9] = {"ObjS0", "ObjS1", "ObjS2", "ObjS3", "ObjS4",
                                             "ObjS5", "ObjS6", "ObjS7", "ObjS8"};
  for (int k = 0; k < 9; ++k)
    v.Text({kS[k]}, base + 6 + 15 * k, 15, s.ObjS[k]);
  static constexpr std::string_view kN[33] = {
      "ObjN0",  "ObjN1",  "ObjN2",  "ObjN3",  "ObjN4",  "ObjN5",  "ObjN6",  "ObjN7",  "ObjN8",
      "ObjN9",  "ObjN10", "ObjN11", "ObjN12", "ObjN13", "ObjN14", "ObjN15", "ObjN16", "ObjN17",
      "ObjN18", "ObjN19", "ObjN20", "ObjN21", "ObjN22", "ObjN23", "ObjN24", "ObjN25", "ObjN26",
      "ObjN27", "ObjN28", "ObjN29", "ObjN30", "ObjN31", "ObjN32"};
  for (int k = 0; k < 33; ++k)
    v.Int16({kN[k]}, base + 141 + 2 * k, s.ObjN[k]);
}

}  // namespace

void VisitFields(SceneRecord& r, FieldVisitor& v) {
  v.Text({"HeaderText1"}, 0, 15, r.HeaderText1);
  v.Int16({"JumpEnabled"}, 15, r.JumpEnabled);
  v.Int16({"JumpFlag"}, 17, r.JumpFlag);
  v.Int16({"JumpOp"}, 19, r.JumpOp);
  v.Int16({"JumpValue"}, 21, r.JumpValue);
  v.Int16({"JumpScene"}, 23, r.JumpScene);
  v.Text({"ScenePicture"}, 25, 15, r.ScenePicture);
  v.Text({"SoundtrackFile"}, 40, 15, r.SoundtrackFile);
  v.Int16({"SoundtrackVolume"}, 55, r.SoundtrackVolume);
  v.Text({"EntrySoundA"}, 57, 15, r.EntrySoundA);
  v.Int16({"EntrySoundAVolume"}, 72, r.EntrySoundAVolume);
  v.Int16({"EntrySoundAPan"}, 74, r.EntrySoundAPan);
  v.Text({"ExitSound"}, 76, 15, r.ExitSound);
  v.Int16({"ExitSoundVolume"}, 91, r.ExitSoundVolume);
  v.Int16({"ExitSoundPan"}, 93, r.ExitSoundPan);
  v.Text({"EntrySoundB"}, 95, 15, r.EntrySoundB);
  v.Int16({"EntrySoundBVolume"}, 110, r.EntrySoundBVolume);
  v.Int16({"EntrySoundBPan"}, 112, r.EntrySoundBPan);
  v.Text({"EntryMovie"}, 114, 15, r.EntryMovie);
  v.Int16({"EntryMovieParam"}, 129, r.EntryMovieParam);
  v.Text({"ExitMovie"}, 131, 15, r.ExitMovie);
  v.Int16({"ExitMovieParam"}, 146, r.ExitMovieParam);
  v.Int16({"EntryFlagOn"}, 148, r.EntryFlagOn);
  v.Int16({"EntryFlag"}, 150, r.EntryFlag);
  v.Int16({"EntryFlagValue"}, 152, r.EntryFlagValue);
  v.Int16({"EntryFlagOp"}, 154, r.EntryFlagOp);
  v.Text({"HeaderText9"}, 156, 15, r.HeaderText9);
  v.Text({"HeaderText10"}, 171, 15, r.HeaderText10);
  v.Text({"HeaderText11"}, 186, 15, r.HeaderText11);
  v.Int16({"HeaderInt19"}, 201, r.HeaderInt19);
  v.Int16({"HeaderInt20"}, 203, r.HeaderInt20);
  v.Int16({"HeaderInt21"}, 205, r.HeaderInt21);
  v.Int16({"LinkUp", 0}, 207, r.LinkUp[0]);
  v.Int16({"LinkUp", 1}, 209, r.LinkUp[1]);
  v.Int16({"LinkDown", 0}, 211, r.LinkDown[0]);
  v.Int16({"LinkDown", 1}, 213, r.LinkDown[1]);
  v.Int16({"LinkLeft", 0}, 215, r.LinkLeft[0]);
  v.Int16({"LinkLeft", 1}, 217, r.LinkLeft[1]);
  v.Int16({"LinkRight", 0}, 219, r.LinkRight[0]);
  v.Int16({"LinkRight", 1}, 221, r.LinkRight[1]);
  for (int k = 2; k <= 5; ++k)
    v.Int16({"LinkUp", k}, 223 + 2 * (k - 2), r.LinkUp[k]);
  for (int k = 2; k <= 5; ++k)
    v.Int16({"LinkDown", k}, 231 + 2 * (k - 2), r.LinkDown[k]);
  for (int k = 2; k <= 5; ++k)
    v.Int16({"LinkLeft", k}, 239 + 2 * (k - 2), r.LinkLeft[k]);
  for (int k = 2; k <= 5; ++k)
    v.Int16({"LinkRight", k}, 247 + 2 * (k - 2), r.LinkRight[k]);
  for (int n = 1; n <= SceneRecord::kSlots; ++n) {
    v.BeginGroup("Objects", n - 1);
    VisitSlot(r.Objects[n - 1], SceneRecord::SlotOffset(n), v);
    v.EndGroup();
  }
}

}  // namespace qv::data
