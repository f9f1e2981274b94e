#pragma once
// What the player keeps of the general settings record once it has read it: the sounds of
// its buttons and menu, the title, the exit picture, the CD layout, the credits scene, the
// interface kind and the two interface settings the inventory and the close-up read.
// Everything else of the record is applied to the windows as it is read (the shell's
// ApplyGeneral). Until the record is read (or when the file is not 908 bytes long) every
// setting keeps its built-in default: no sounds, no CD mode, no credits, the standard
// interface.

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "data/general_record.h"

namespace qv::data {

// A sound the settings name: a file under resource\mmedia\ ("" = none) with the volume and
// pan the sound channels take.
struct SettingsSound {
  std::string file;
  int32_t volume = 0;
  int32_t pan = 0;
};

struct GeneralSettings {
  // ---- read before anything shows (GetInitData)
  // The engine's own animated logo shows at start-up.
  bool ShowEngineLogo = true;
  // A screen larger than 800 x 600 is switched down too.
  bool Force800x600 = false;

  // ---- sounds, title, exit picture, debug mode, CDs, movie size (mode 1)
  SettingsSound menu_music;
  SettingsSound hover;
  SettingsSound click;
  // The default refusal sound of scene objects (the "object sound").
  SettingsSound refusal;
  SettingsSound inventory_full;
  int16_t MovieSizeMode = 0;
  std::string GameTitle;  // UTF-8
  bool ShowExitPicture = false;
  std::string ExitPictureName;
  int16_t DebugMode = 0;
  bool CDModeEnabled = false;
  // CDs 1..4; entry 0 is never filled by the settings.
  VbArray<std::string, 0, 4> CDLabel;
  VbArray<int16_t, 0, 4> CDFirstScene;
  VbArray<int16_t, 0, 4> CDLastScene;

  // ---- what mode 2 keeps
  int16_t CreditsScene = 0;
  bool CustomInterface = false;
  // Stored only for the standard interface.
  int16_t InterfaceSetting41 = 0;
  int16_t InterfaceSetting70 = 0;

  // ---- mode 6
  bool IntroAvailable = false;

  // The inventory bar shows item names as tool tips.
  bool ItemNames() const { return InterfaceSetting41 == 1; }
  // The close-up window takes the size of its picture (otherwise its designed size).
  bool CloseupSizedToPicture() const { return InterfaceSetting70 == 1; }

  // The two settings read before the start screen.
  void ApplyInitData(const GeneralRecord& r);
  // Mode 1.
  void ApplySoundsAndDiscs(const GeneralRecord& r);
};

// A text field of the record as the player uses it: trimmed of blanks, in UTF-8.
std::string SettingText(const std::string& field);

}  // namespace qv::data
