// The general settings applied to the windows: GetInitData before the start screen,
// OpenGenBase at start-up, and ApplyGeneral(mode), one group of settings at a time.

#include <optional>
#include <utility>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_math.h"
#include "data/record_codec.h"
#include "data/record_file.h"
#include "shell/shell.h"

namespace qv::shell {

namespace {

using data::GeneralRecord;
using data::SettingText;

constexpr std::string_view kGfx = "resource\\gfx\\";

// A layout text "X/Y" (or "W/H"): the number before the first "/" and the one after it,
// each as a 16-bit value (a number out of range raises "Overflow"). An empty text leaves
// the control where it was designed.
std::optional<std::pair<int, int>> LayoutValues(const std::string& field) {
  const std::string text = SettingText(field);
  if (text.empty()) return std::nullopt;
  const size_t slash = text.find('/');
  const std::string x = text.substr(0, slash);
  const std::string y = slash == std::string::npos ? std::string() : text.substr(slash + 1);
  return std::pair<int, int>{ToInt16(LeadingNumber(x)), ToInt16(LeadingNumber(y))};
}

std::string TrueFalse(bool value) {
  return value ? "True" : "False";
}

}  // namespace

void Shell::GetInitData() {
  RunProcedure(s_.boxes, "GetInitData", [this] {
    const data::RecordFile file(s_.data.folder(), data::kGeneralPath, GeneralRecord::kSize);
    GeneralRecord record;
    if (file.length() == static_cast<uint64_t>(GeneralRecord::kSize)) {
      record = data::DecodeRecord<GeneralRecord>(file.Read(1));
    }
    s_.settings.ApplyInitData(record);
  });
}

void Shell::OpenGenBase() {
  s_.data.OpenGenBase([this](const GeneralRecord* record) {
    if (record != nullptr) {
      ApplyGeneral(1);
      ApplyGeneral(2);
      ApplyGeneral(3);
    }
    LoadCursors();
    if (!s_.settings.CustomInterface) LoadStandardFiles();
    // The dialogs' pictures, whatever the interface.
    struct Background {
      ui::PictureBox* box;
      const char* bmp;
      const char* jpg;
    };
    for (Background b : {Background{Save_BG, "bgsave.bmp", "bgsave.jpg"},
                         Background{Load_BG, "bgload.bmp", "bgload.jpg"},
                         Background{Quit_BG, "bgquit.bmp", "bgquit.jpg"}}) {
      const std::string name = FirstExisting({b.bmp, b.jpg});
      if (!name.empty()) b.box->SetPicture(LoadStill(name));
    }
    QuitPicture->SetPicture(Quit_BG->Picture());
    struct Resource {
      media::AnimatedPicture* control;
      const char* file;
    };
    for (Resource r :
         {Resource{Yes_Resource, "btnyes.gif"}, Resource{No_Resource, "btnno.gif"},
          Resource{OK_Resource, "btnok.gif"}, Resource{Cancel_Resource, "btncancel.gif"}}) {
      if (!FirstExisting({r.file}).empty())
        r.control->Load(s_.data.folder().AppPath() + std::string(kGfx) + r.file);
    }
  });
}

std::string Shell::FirstExisting(std::initializer_list<const char*> names) const {
  for (const char* name : names) {
    if (s_.data.folder().FileExists(std::string(kGfx) + name)) return name;
  }
  return {};
}

platform::ImagePtr Shell::LoadStill(const std::string& name) {
  const data::GameFolder& folder = s_.data.folder();
  platform::PicturePtr picture =
      s_.pictures.loader.Load(folder.Resolve(folder.AppPath() + std::string(kGfx) + name));
  if (!picture || picture->frames.empty()) Raise(kErrInvalidPicture);
  return picture->frames.front();
}

void Shell::LoadCursors() {
  for (int k = 1; k <= 15; ++k) {
    const std::string& tag = Pointer[k]->Tag();
    if (tag.empty()) {
      const platform::CursorPicture& builtin = s_.builtins.Cursor(k);
      s_.screen.SetCursorPicture(k, builtin.picture, builtin.hot_x, builtin.hot_y);
      continue;
    }
    const data::GameFolder& folder = s_.data.folder();
    platform::PicturePtr picture =
        s_.pictures.loader.Load(folder.Resolve(folder.AppPath() + std::string(kGfx) + tag));
    if (!picture || picture->frames.empty()) Raise(kErrInvalidPicture);
    // A game's cursor points with its top-left corner.
    s_.screen.SetCursorPicture(k, picture, 0, 0);
  }
}

void Shell::LoadStandardFiles() {
  screen::GameScreen& screen = s_.screen;
  const std::string app = s_.data.folder().AppPath() + std::string(kGfx);
  if (std::string name = FirstExisting({"bgmenu.bmp", "bgmenu.jpg"}); !name.empty()) {
    MenuPicture1->SetPicture(LoadStill(name));
  }
  const char* buttons[5] = {"btnintro.gif", "btnnew.gif", "btnload.gif", "btncredits.gif",
                            "btnclose.gif"};
  for (int k = 1; k <= 5; ++k) {
    if (!FirstExisting({buttons[k - 1]}).empty())
      screen.ButtnDefault[k]->Load(app + buttons[k - 1]);
  }
  if (std::string name = FirstExisting({"bggame.bmp", "bggame.jpg"}); !name.empty()) {
    screen.Picture1->SetPicture(LoadStill(name));
  }
  struct Resource {
    media::AnimatedPicture* control;
    const char* file;
  };
  for (Resource r :
       {Resource{screen.MMB_Resource, "btnquit.gif"}, Resource{screen.SGB_Resource, "btnsave.gif"},
        Resource{screen.EI_Resource, "btnexamine.gif"}}) {
    if (!FirstExisting({r.file}).empty()) r.control->Load(app + r.file);
  }
}

void Shell::ApplyGeneral(int16_t mode) {
  // A settings file that could not be opened is one without settings: every window keeps
  // its built-in defaults and the player goes on to the menu.
  if (!s_.data.GeneralOpen()) return;
  const std::optional<GeneralRecord> read = s_.data.ReadGeneral();
  if (!read) return;
  const GeneralRecord& r = *read;
  data::GeneralSettings& settings = s_.settings;
  const data::GameFolder& folder = s_.data.folder();
  switch (mode) {
    case 0:
      if (r.SavingAllowed == 1 || r.SavingAllowed == 0) {
        Buttn[3]->SetEnabled(r.SavingAllowed == 1);
        s_.screen.SaveGameButtn->SetEnabled(r.SavingAllowed == 1);
      }
      break;
    case 1:
      settings.ApplySoundsAndDiscs(r);
      break;
    case 2:
      ApplyInterface(r);
      break;
    case 3:
      for (int k = 1; k <= 15; ++k)
        Pointer[k]->SetTag(SettingText(r.CursorFile[static_cast<size_t>(k - 1)]));
      break;
    case 4: {
      const std::string logo = SettingText(r.OpeningLogo);
      if (logo.empty()) return;
      const std::string kind = LastThreeLower(logo);
      if (kind == "gif") {
        ports_.movies.PlayOpenCredsGif(logo);
      } else if (kind == "avi") {
        ports_.movies.PlayOpenCredsAVI(logo);
      }
      s_.loop.WaitUntil([this] { return !ports_.movies.OpeningLogoPlaying(); },
                        "the opening logo to end");
      break;
    }
    case 5: {
      if ((StartingUp && r.IntroAtStart == 0) || (NewGameStarting && r.IntroAtNewGame == 0)) return;
      const std::string intro = SettingText(r.IntroMovie);
      auto back_to_menu = [this] {
        if (NewGameStarting) return;
        main_menu_->Show();
        main_menu_->SetTopMost(true);
      };
      if (intro.empty()) {
        back_to_menu();
      } else if (folder.FileExists(std::string(media::kMediaFolder) + intro)) {
        ports_.movies.PlayIntroAVI(intro, r.IntroMovieParam);
        back_to_menu();
      } else {
        s_.boxes.Show(
            kAppTitle,
            "Could not play 'AVI Intro'...\r" + s_.sound.MediaFolderText() + intro + " not found.",
            BoxButtons::kOk, BoxIcon::kCritical);
      }
      break;
    }
    case 6: {
      const std::string intro = SettingText(r.IntroMovie);
      settings.IntroAvailable =
          !intro.empty() && folder.FileExists(std::string(media::kMediaFolder) + intro);
      break;
    }
    default:
      break;
  }
}

void Shell::ApplyInterface(const GeneralRecord& r) {
  data::GeneralSettings& settings = s_.settings;
  screen::GameScreen& screen = s_.screen;
  const std::string gfx = s_.data.folder().AppPath() + std::string(kGfx);
  settings.CreditsScene = r.CreditsScene;
  settings.CustomInterface = r.InterfaceKind == 0;
  const bool custom = settings.CustomInterface;
  if (custom) {
    if (r.MenuBackgroundCustom == 2 && !SettingText(r.MenuBackgroundText).empty()) {
      MenuPicture1->SetPicture(LoadStill(SettingText(r.MenuBackgroundText)));
    }
    if (r.GameBackgroundCustom == 2 && !SettingText(r.GameBackgroundText).empty()) {
      screen.Picture1->SetPicture(LoadStill(SettingText(r.GameBackgroundText)));
    }
  }
  // 1 shows a menu button, 0 hides it, anything else keeps it as designed.
  for (int n = 1; n <= 5; ++n) {
    const int16_t shown = r.MenuButtonShown[static_cast<size_t>(n - 1)];
    if (shown == 1 || shown == 0) Buttn[n]->SetVisible(shown == 1);
  }
  if (custom && r.CustomMenuButtons == 0) {
    for (int k = 1; k <= 5; ++k) {
      const std::string name = SettingText(r.MenuButtonText[static_cast<size_t>(k - 1)]);
      if (!name.empty()) screen.ButtnDefault[k]->Load(gfx + name);
    }
  }
  screen.MainMenuButtn->SetVisible(r.MainMenuButtonShown == 1);
  screen.SaveGameButtn->SetVisible(r.SaveButtonShown == 1);
  screen.SaveGameButtn->SetTag(TrueFalse(r.SaveButtonShown == 1));
  if (custom) {
    if (r.MainMenuButtonCustom == 2)
      screen.MMB_Resource->Load(gfx + SettingText(r.MainMenuButtonText));
    if (r.SaveButtonCustom == 2) screen.SGB_Resource->Load(gfx + SettingText(r.SaveButtonText));
    if (r.ExamineButtonCustom == 2)
      screen.EI_Resource->Load(gfx + SettingText(r.ExamineButtonText));
  } else {
    settings.InterfaceSetting41 = r.CustomMenuButtons;
    settings.InterfaceSetting70 = r.InterfaceSetting70;
    ApplyLayout(r);
  }
  ApplyGeneral(0);
  const bool inventory = r.InventoryShown == 1;
  screen.InvBar->SetVisible(inventory);
  screen.InvBar->SetTag(TrueFalse(inventory));
  screen.ExamineItem->SetVisible(inventory);
  screen.ExamineItem->SetTag(TrueFalse(inventory));
  ApplyScore(r);
}

void Shell::ApplyLayout(const GeneralRecord& r) {
  screen::GameScreen& screen = s_.screen;
  for (int n = 1; n <= 5; ++n) {
    if (auto xy = LayoutValues(r.MenuButtonText[static_cast<size_t>(n - 1)])) {
      Buttn[n]->Move(xy->first, xy->second);
    }
  }
  if (auto wh = LayoutValues(r.MainMenuButtonText)) {
    screen.ScnImg->Move(screen.ScnImg->Left(), screen.ScnImg->Top(), wh->first, wh->second);
  }
  if (auto xy = LayoutValues(r.MenuBackgroundText)) screen.MainMenuButtn->SetLeft(xy->first);
  if (auto xy = LayoutValues(r.SaveButtonText)) screen.SaveGameButtn->SetLeft(xy->first);
  if (auto xy = LayoutValues(r.ExamineButtonText)) screen.ExamineItem->Move(xy->first, xy->second);
  if (auto wh = LayoutValues(r.GameBackgroundText)) {
    for (ui::PictureBox* panel : {screen.LargeScore, screen.SmallScore})
      panel->Move(panel->Left(), panel->Top(), wh->first, wh->second);
  }
  if (auto wh = LayoutValues(r.InvBarSize)) {
    screen.InvBar->Move(screen.InvBar->Left(), screen.InvBar->Top(), wh->first, wh->second);
  }
  // Whatever the numbers, every control stays where the player can reach it.
  screen.PlaceAroundScene();
  for (int n = 1; n <= 5; ++n)
    screen::GameScreen::KeepInside(*Buttn[n], MenuPicture1->Width(), MenuPicture1->Height());
}

void Shell::ApplyScore(const GeneralRecord& r) {
  screen::GameScreen& screen = s_.screen;
  engine::GameState& state = s_.engine.state;
  if (r.HasScore != 0) {
    state.ScoreFlag = r.ScoreFlag;
    ui::PictureBox* panel = r.ScoreDisplay == 0   ? screen.SmallScore
                            : r.ScoreDisplay == 1 ? screen.LargeScore
                                                  : nullptr;
    if (panel != nullptr) {
      if (r.MaxScore == 0) screen.NarrowScorePanel(*panel);
      panel->SetVisible(true);
      panel->SetTag("True");
    }
    screen.MaxScore_Small->SetCaption(PlainNum(r.MaxScore));
    screen.MaxScore_Large->SetCaption(PlainNum(r.MaxScore));
  } else {
    state.ScoreFlag = -1;
    for (ui::PictureBox* panel : {screen.SmallScore, screen.LargeScore}) {
      panel->SetVisible(false);
      panel->SetTag("False");
    }
  }
}

}  // namespace qv::shell
