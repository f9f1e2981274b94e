#include "data/general_record.h"

namespace qv::data {

void VisitFields(GeneralRecord& r, FieldVisitor& v) {
  v.Text({"GameTitle"}, 0, 20, r.GameTitle);
  v.Text({"ClickSound"}, 20, 15, r.ClickSound);
  v.Int16({"ClickVolume"}, 35, r.ClickVolume);
  v.Int16({"ClickPan"}, 37, r.ClickPan);
  v.Text({"ObjectSound"}, 39, 15, r.ObjectSound);
  v.Int16({"ObjectVolume"}, 54, r.ObjectVolume);
  v.Int16({"ObjectPan"}, 56, r.ObjectPan);
  v.Text({"InvFullSound"}, 58, 15, r.InvFullSound);
  v.Int16({"InvFullVolume"}, 73, r.InvFullVolume);
  v.Int16({"InvFullPan"}, 75, r.InvFullPan);
  v.Int16({"ExitPictureOn"}, 77, r.ExitPictureOn);
  v.Text({"ExitPictureName"}, 79, 15, r.ExitPictureName);
  v.Int16({"DebugMode"}, 94, r.DebugMode);
  v.Text({"GenText14"}, 96, 15, r.GenText14);
  v.Int16({"CDModeEnabled"}, 111, r.CDModeEnabled);
  for (int k = 0; k < 4; ++k)
    v.Text({"CDLabel", k}, 113 + 20 * k, 20, r.CDLabel[k]);
  for (int k = 0; k < 4; ++k)
    v.Int16({"CDFirstScene", k}, 193 + 2 * k, r.CDFirstScene[k]);
  for (int k = 0; k < 4; ++k)
    v.Int16({"CDLastScene", k}, 201 + 2 * k, r.CDLastScene[k]);
  v.Int16({"MenuMusicVolume"}, 209, r.MenuMusicVolume);
  v.Int16({"MenuMusicPan"}, 211, r.MenuMusicPan);
  v.Int16({"HoverVolume"}, 213, r.HoverVolume);
  v.Int16({"HoverPan"}, 215, r.HoverPan);
  v.Int16({"GenInt32"}, 217, r.GenInt32);
  v.Text({"MenuMusic"}, 219, 15, r.MenuMusic);
  v.Text({"HoverSound"}, 234, 15, r.HoverSound);
  v.Text({"EngineLogoSwitch"}, 249, 15, r.EngineLogoSwitch);
  for (int k = 0; k < 5; ++k)
    v.Int16({"MenuButtonShown", k}, 264 + 2 * k, r.MenuButtonShown[k]);
  v.Int16({"CustomMenuButtons"}, 274, r.CustomMenuButtons);
  for (int k = 0; k < 4; ++k)
    v.Int16({"GenInt42", k}, 276 + 2 * k, r.GenInt42[k]);
  for (int k = 0; k < 5; ++k)
    v.Text({"MenuButtonText", k}, 284 + 15 * k, 15, r.MenuButtonText[k]);
  v.Int16({"MainMenuButtonShown"}, 359, r.MainMenuButtonShown);
  v.Int16({"SaveButtonShown"}, 361, r.SaveButtonShown);
  v.Int16({"MainMenuButtonCustom"}, 363, r.MainMenuButtonCustom);
  v.Int16({"SaveButtonCustom"}, 365, r.SaveButtonCustom);
  v.Text({"MainMenuButtonText"}, 367, 15, r.MainMenuButtonText);
  v.Text({"SaveButtonText"}, 382, 15, r.SaveButtonText);
  v.Int16({"SavingAllowed"}, 397, r.SavingAllowed);
  v.Int16({"InventoryShown"}, 399, r.InventoryShown);
  v.Int16({"HasScore"}, 401, r.HasScore);
  v.Int16({"ScoreFlag"}, 403, r.ScoreFlag);
  v.Int16({"MaxScore"}, 405, r.MaxScore);
  v.Int16({"ScoreDisplay"}, 407, r.ScoreDisplay);
  v.Int16({"MenuBackgroundCustom"}, 409, r.MenuBackgroundCustom);
  v.Text({"MenuBackgroundText"}, 411, 15, r.MenuBackgroundText);
  v.Int16({"GameBackgroundCustom"}, 426, r.GameBackgroundCustom);
  v.Text({"GameBackgroundText"}, 428, 15, r.GameBackgroundText);
  v.Int16({"ExamineButtonCustom"}, 443, r.ExamineButtonCustom);
  v.Int16({"Force800x600"}, 445, r.Force800x600);
  v.Int16({"MovieSizeMode"}, 447, r.MovieSizeMode);
  v.Int16({"InterfaceSetting70"}, 449, r.InterfaceSetting70);
  v.Int16({"InterfaceKind"}, 451, r.InterfaceKind);
  v.Text({"ExamineButtonText"}, 453, 15, r.ExamineButtonText);
  v.Text({"InvBarSize"}, 468, 15, r.InvBarSize);
  v.Text({"GenText74"}, 483, 15, r.GenText74);
  for (int k = 0; k < 15; ++k)
    v.Text({"CursorFile", k}, 498 + 15 * k, 15, r.CursorFile[k]);
  v.Text({"GenText90"}, 723, 15, r.GenText90);
  v.Text({"GenText91"}, 738, 15, r.GenText91);
  v.Text({"GenText92"}, 753, 15, r.GenText92);
  v.Int16({"GenInt93"}, 768, r.GenInt93);
  v.Int16({"GenInt94"}, 770, r.GenInt94);
  v.Text({"GenText95"}, 772, 15, r.GenText95);
  v.Int16({"GenInt96"}, 787, r.GenInt96);
  v.Text({"OpeningLogo"}, 789, 15, r.OpeningLogo);
  v.Text({"GenText98"}, 804, 15, r.GenText98);
  v.Int16({"GenInt99"}, 819, r.GenInt99);
  v.Text({"GenText100"}, 821, 15, r.GenText100);
  v.Text({"GenText101"}, 836, 15, r.GenText101);
  v.Int16({"CreditsScene"}, 851, r.CreditsScene);
  v.Int16({"IntroAtStart"}, 853, r.IntroAtStart);
  v.Int16({"IntroAtNewGame"}, 855, r.IntroAtNewGame);
  v.Int16({"GenInt105"}, 857, r.GenInt105);
  v.Text({"IntroMovie"}, 859, 15, r.IntroMovie);
  v.Int16({"IntroMovieParam"}, 874, r.IntroMovieParam);
  v.Text({"GenText108"}, 876, 15, r.GenText108);
  v.Text({"GenText109"}, 891, 15, r.GenText109);
  v.Int16({"GenInt110"}, 906, r.GenInt110);
}

}  // namespace qv::data
