#include "data/scene_tables.h"

#include "core/text.h"

namespace qv::data {

std::string TableText(const std::string& raw) {
  return Cp1252ToUtf8(TrimBlanks(raw));
}

void SceneTables::CopyFrom(const SceneRecord& r) {
  HeaderText1 = TableText(r.HeaderText1);
  JumpEnabled = r.JumpEnabled;
  JumpFlag = r.JumpFlag;
  JumpOp = r.JumpOp;
  JumpValue = r.JumpValue;
  JumpScene = r.JumpScene;
  ScenePicture = TableText(r.ScenePicture);
  SoundtrackFile = TableText(r.SoundtrackFile);
  SoundtrackVolume = r.SoundtrackVolume;
  EntrySoundA = TableText(r.EntrySoundA);
  EntrySoundAVolume = r.EntrySoundAVolume;
  EntrySoundAPan = r.EntrySoundAPan;
  ExitSound = TableText(r.ExitSound);
  ExitSoundVolume = r.ExitSoundVolume;
  ExitSoundPan = r.ExitSoundPan;
  EntrySoundB = TableText(r.EntrySoundB);
  EntrySoundBVolume = r.EntrySoundBVolume;
  EntrySoundBPan = r.EntrySoundBPan;
  EntryMovie = TableText(r.EntryMovie);
  EntryMovieParam = r.EntryMovieParam;
  ExitMovie = TableText(r.ExitMovie);
  ExitMovieParam = r.ExitMovieParam;
  EntryFlagOn = r.EntryFlagOn;
  EntryFlag = r.EntryFlag;
  EntryFlagValue = r.EntryFlagValue;
  EntryFlagOp = r.EntryFlagOp;
  HeaderText9 = TableText(r.HeaderText9);
  HeaderText10 = TableText(r.HeaderText10);
  HeaderText11 = TableText(r.HeaderText11);
  HeaderInt19 = r.HeaderInt19;
  HeaderInt20 = r.HeaderInt20;
  HeaderInt21 = r.HeaderInt21;
  for (int k = 0; k <= 5; ++k) {
    LinkUp[k] = r.LinkUp[k];
    LinkDown[k] = r.LinkDown[k];
    LinkLeft[k] = r.LinkLeft[k];
    LinkRight[k] = r.LinkRight[k];
  }
  for (int i = 1; i <= SceneRecord::kSlots; ++i) {
    const SceneObjectSlot& slot = r.Objects[i - 1];
    ObjType[i] = slot.ObjType;
    ObjX[i] = slot.ObjX;
    ObjY[i] = slot.ObjY;
    for (int k = 0; k <= 8; ++k)
      ObjS[k][i] = TableText(slot.ObjS[k]);
    for (int k = 0; k <= 32; ++k)
      ObjN[k][i] = slot.ObjN[k];
  }
}

}  // namespace qv::data
