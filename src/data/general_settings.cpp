#include "data/general_settings.h"

#include "core/text.h"

namespace qv::data {

std::string SettingText(const std::string& field) {
  return Cp1252ToUtf8(TrimBlanks(field));
}

void GeneralSettings::ApplyInitData(const GeneralRecord& r) {
  ShowEngineLogo = SettingText(r.EngineLogoSwitch) != "1";
  Force800x600 = r.Force800x600 == 1;
}

void GeneralSettings::ApplySoundsAndDiscs(const GeneralRecord& r) {
  menu_music = {SettingText(r.MenuMusic), r.MenuMusicVolume, r.MenuMusicPan};
  hover = {SettingText(r.HoverSound), r.HoverVolume, r.HoverPan};
  click = {SettingText(r.ClickSound), r.ClickVolume, r.ClickPan};
  refusal = {SettingText(r.ObjectSound), r.ObjectVolume, r.ObjectPan};
  inventory_full = {SettingText(r.InvFullSound), r.InvFullVolume, r.InvFullPan};
  MovieSizeMode = r.MovieSizeMode;
  GameTitle = SettingText(r.GameTitle);
  if (r.ExitPictureOn == 1) {
    ExitPictureName = SettingText(r.ExitPictureName);
    ShowExitPicture = !ExitPictureName.empty();
  }
  DebugMode = r.DebugMode;
  for (int n = 1; n <= 4; ++n) {
    const auto k = static_cast<size_t>(n - 1);
    CDLabel[n] = SettingText(r.CDLabel[k]);
    CDFirstScene[n] = r.CDFirstScene[k];
    CDLastScene[n] = r.CDLastScene[k];
  }
  CDModeEnabled = r.CDModeEnabled != 0;
}

}  // namespace qv::data
