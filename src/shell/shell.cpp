#include "shell/shell.h"

#include <string>

#include "core/procedure.h"
#include "core/text.h"

namespace qv::shell {

namespace {

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);
constexpr platform::Rgb kSilver = platform::Rgb::FromHex(0xC0C0C0);
constexpr platform::Rgb kPale = platform::Rgb::FromHex(0xC8D0E8);

// The engine logo's designed place on the start screen, and the menu buttons' column.
constexpr int kLogoLeft = (800 - kLogoWidth) / 2;
constexpr int kLogoTop = (600 - kLogoHeight) / 2;
constexpr int kMenuButtonLeft = (800 - kMenuButtonWidth) / 2;
constexpr int kMenuButtonTop = 200;
constexpr int kMenuButtonStep = 64;
constexpr int kStartTimerMs = 1200;
constexpr int kStillLogoMs = 2000;
constexpr int kNagTimerMs = 2;

std::unique_ptr<ui::Form> FullScreenForm(ui::Desktop& desktop, const char* name) {
  auto form = std::make_unique<ui::Form>(desktop, name);
  form->Move(0, 0, desktop.ScreenWidth(), desktop.ScreenHeight());
  form->SetBackColor(kBlack);
  return form;
}

std::unique_ptr<ui::Timer> OneShot(platform::EventLoop& loop, const char* name, int interval) {
  auto timer = std::make_unique<ui::Timer>(loop.timers(), name);
  timer->SetEnabled(false);
  timer->SetInterval(interval);
  return timer;
}

}  // namespace

Shell::Shell(ShellServices services, ShellPorts ports) : s_(services), ports_(ports) {
  BuildStartForm();
  BuildMainMenu();
  BuildQuitQuery();
  BuildNagForm();
  BuildMousePoint();
  UseBuiltinPictures();
  s_.buttons.on_main_menu = [this] { MainMenuButtonClick(); };
  s_.buttons.on_save = [this] {
    RunProcedure(s_.boxes, "SaveGameButtn_Click", [this] { ports_.saves.ShowSaveGame(); });
  };
  s_.screen.Main().on_load = [this] { s_.screen.FormLoad(); };
}

Shell::~Shell() = default;

void Shell::BuildStartForm() {
  start_form_ = FullScreenForm(s_.desktop, "StartForm");
  ui::Form& form = *start_form_;
  Label1 = &form.Create<ui::Label>("Label1");
  Label1->SetCaption("Loading.  Please wait...");
  Label1->SetTransparent(true);
  Label1->SetForeColor(kSilver);
  Label1->SetAutoSize(true);
  Label1->Move(400 - Label1->Width() / 2, 300 - Label1->Height() / 2);
  QVXGIFLogo = &form.Create<media::AnimatedPicture>("QVXGIFLogo", 0, s_.loop, s_.pictures);
  QVXGIFLogo->Move(kLogoLeft, kLogoTop, kLogoWidth, kLogoHeight);
  QVXGIFLogo->SetPlayOnce(1);
  QVXGIFLogo->SetVisible(false);
  QVXGIFLogo->on_animation_ended = [this] { EngineLogoFinished(); };
  QuorvexURL = &form.Create<ui::Label>("QuorvexURL");
  QuorvexURL->SetCaption(std::string(kWebAddress));
  QuorvexURL->SetTransparent(true);
  QuorvexURL->SetForeColor(kPale);
  QuorvexURL->SetAutoSize(true);
  QuorvexURL->Move(400 - QuorvexURL->Width() / 2, kLogoTop + kLogoHeight + 5);
  QuorvexURL->SetVisible(false);
  QVXPVersion = &form.Create<ui::Label>("QVXPVersion");
  QVXPVersion->SetTransparent(true);
  QVXPVersion->SetForeColor(kSilver);
  QVXPVersion->SetAutoSize(true);
  QVXPVersion->Move(740, 580);
  QVXPVersion->SetVisible(false);
  Timer1 = OneShot(s_.loop, "Timer1", kStartTimerMs);
  Timer1->on_tick = [this] { Timer1Tick(); };
  Timer2 = OneShot(s_.loop, "Timer2", kStillLogoMs);
  Timer2->on_tick = [this] {
    Timer2->SetEnabled(false);
    EngineLogoFinished();
  };
  form.on_load = [this] { StartFormLoad(); };
  form.on_key_down = [this](ui::KeyArgs& args) { StartFormKeyDown(args); };
}

void Shell::BuildMainMenu() {
  main_menu_ = FullScreenForm(s_.desktop, "MainMenu");
  ui::Form& form = *main_menu_;
  MenuPicture1 = &form.Create<ui::PictureBox>("Picture1");
  MenuPicture1->SetBackColor(kBlack);
  MenuPicture1->Move(0, 0, 800, 600);
  for (int16_t n = 1; n <= 5; ++n) {
    Buttn[n] = &MenuPicture1->Create<ui::Image>("Buttn", n);
    Buttn[n]->Move(kMenuButtonLeft, kMenuButtonTop + (n - 1) * kMenuButtonStep, kMenuButtonWidth,
                   kMenuButtonHeight);
    Buttn[n]->on_mouse_move = [this, n](const ui::MouseArgs&) { MenuButtonMouseMove(n); };
    Buttn[n]->on_click = [this, n] { MenuButtonClick(n); };
  }
  form.on_mouse_move = [this](const ui::MouseArgs&) { MenuBackgroundMouseMove(); };
  MenuPicture1->on_mouse_move = [this](const ui::MouseArgs&) { MenuBackgroundMouseMove(); };
  PauseTimer = OneShot(s_.loop, "PauseTimer", kPauseMs);
  PauseTimer->SetTransient(true);  // the click is not over until it ticks
  PauseTimer->on_tick = [this] {
    PauseTimer->SetEnabled(false);
    MenuPauseDone = true;
  };
  form.on_load = [this] { MenuLoad(); };
  form.on_activate = [this] { MenuActivate(); };
}

void Shell::BuildQuitQuery() {
  quit_query_ = std::make_unique<ui::Form>(s_.desktop, "QuitGameQuery");
  ui::Form& form = *quit_query_;
  form.SetBackColor(kBlack);
  form.Move(0, 0, kQuitWidth, kQuitHeight);
  form.CenterOnScreen();
  QuitPicture = &form.Create<ui::PictureBox>("Picture1");
  QuitPicture->Move(0, 0, kQuitWidth, kQuitHeight);
  QuitPicture->SetBackColor(kBlack);
  FCaption = &QuitPicture->Create<ui::Label>("FCaption");
  FCaption->SetCaption("Quit to Main Menu?");
  FCaption->SetTransparent(true);
  FCaption->SetForeColor(kPale);
  FCaption->SetAlign(ui::Alignment::kCenter);
  FCaption->SetReceivesMouse(false);
  platform::FontChoice font = FCaption->Font();
  font.size_px = 18;
  font.bold = true;
  FCaption->SetFont(font);
  FCaption->Move(0, 30, kQuitWidth, 30);
  ButtnYes = &QuitPicture->Create<ui::Image>("ButtnYes");
  ButtnYes->Move(kQuitWidth / 2 - kDialogButtonWidth - 10, 90, kDialogButtonWidth,
                 kDialogButtonHeight);
  ButtnNo = &QuitPicture->Create<ui::Image>("ButtnNo");
  ButtnNo->Move(kQuitWidth / 2 + 10, 90, kDialogButtonWidth, kDialogButtonHeight);
  ButtnYes->on_mouse_move = [this](const ui::MouseArgs&) { QuitButtonMouseMove(true); };
  ButtnNo->on_mouse_move = [this](const ui::MouseArgs&) { QuitButtonMouseMove(false); };
  ButtnYes->on_click = [this] { QuitYes(); };
  ButtnNo->on_click = [this] { QuitNo(); };
  PauseIt = OneShot(s_.loop, "PauseIt", kPauseMs);
  PauseIt->SetTransient(true);
  PauseIt->on_tick = [this] {
    PauseIt->SetEnabled(false);
    MenuPauseDone = true;
  };
  form.on_activate = [this] { QuitActivate(); };
}

void Shell::BuildNagForm() {
  nag_form_ = FullScreenForm(s_.desktop, "NagForm");
  ui::Form& form = *nag_form_;
  NagPicture1 = &form.Create<ui::PictureBox>("Picture1");
  NagPicture1->SetBackColor(kBlack);
  NagPicture1->SetAutoSize(true);
  Command1 = &form.Create<ui::CommandButton>("Command1");
  Command1->SetCaption("Exit");
  Command1->Move(0, 0, 100, 30);
  Command1->SetVisible(false);
  Command1->on_click = [this] { ExitProgram(); };
  NagTimer1 = OneShot(s_.loop, "Timer1", kNagTimerMs);
  // The window is not ready for the user until its button shows.
  NagTimer1->SetTransient(true);
  NagTimer1->on_tick = [this] {
    NagTimer1->SetEnabled(false);
    const ui::Form& nag = *nag_form_;
    const int below = NagPicture1->Top() + NagPicture1->Height() + 10;
    Command1->Move((nag.Width() - Command1->Width()) / 2,
                   std::min(below, nag.Height() - Command1->Height()));
    Command1->SetVisible(true);
  };
  form.on_load = [this] { NagFormLoad(); };
}

void Shell::BuildMousePoint() {
  mouse_point_ = std::make_unique<ui::Form>(s_.desktop, "MousePoint");
  ui::Form& form = *mouse_point_;
  for (int k = 1; k <= 15; ++k)
    Pointer[k] = &form.Create<ui::Image>("Pointer", k);
  Save_BG = &form.Create<ui::PictureBox>("Save_BG");
  Load_BG = &form.Create<ui::PictureBox>("Load_BG");
  Quit_BG = &form.Create<ui::PictureBox>("Quit_BG");
  auto holder = [&](const char* name) {
    auto& control = form.Create<media::AnimatedPicture>(name, 0, s_.loop, s_.pictures);
    control.SetVisible(false);
    return &control;
  };
  Yes_Resource = holder("Yes_Resource");
  No_Resource = holder("No_Resource");
  OK_Resource = holder("OK_Resource");
  Cancel_Resource = holder("Cancel_Resource");
}

void Shell::UseBuiltinPictures() {
  screen::GameScreen& screen = s_.screen;
  MenuPicture1->SetPicture(interface_.MenuBackground()->frames.front());
  screen.Picture1->SetPicture(interface_.GameBackground()->frames.front());
  for (int n = 1; n <= 5; ++n)
    screen.ButtnDefault[n]->SetPicture(interface_.MenuButton(n));
  screen.MMB_Resource->SetPicture(interface_.MainMenuButton());
  screen.SGB_Resource->SetPicture(interface_.SaveButton());
  screen.EI_Resource->SetPicture(interface_.ExamineButton());
  screen.TakeButtonPictures();
  Save_BG->SetPicture(interface_.SaveBackground()->frames.front());
  Load_BG->SetPicture(interface_.LoadBackground()->frames.front());
  Quit_BG->SetPicture(interface_.QuitBackground()->frames.front());
  Yes_Resource->SetPicture(interface_.YesButton());
  No_Resource->SetPicture(interface_.NoButton());
  OK_Resource->SetPicture(interface_.OkButton());
  Cancel_Resource->SetPicture(interface_.CancelButton());
  QuitPicture->SetPicture(Quit_BG->Picture());
  for (int16_t n = 1; n <= 5; ++n)
    ShowMenuButton(n, false);
  ButtnYes->SetPicture(Yes_Resource->FramePicture(1));
  ButtnNo->SetPicture(No_Resource->FramePicture(1));
  QVXGIFLogo->SetPicture(interface_.EngineLogo());
}

void Shell::ShowFormCursor(ui::Form& form, int number) {
  s_.screen.ShowCursorOn(form, number);
}

void Shell::ShowMenuButton(int16_t n, bool highlighted) {
  platform::ImagePtr picture = s_.screen.ButtnDefault[n]->FramePicture(highlighted ? 0 : 1);
  if (picture && Buttn[n]->Picture() != picture) Buttn[n]->SetPicture(picture);
}

void Shell::PlayButtonSound(const data::SettingsSound& sound) {
  if (sound.file.empty()) return;
  s_.sound.PlayWAVQVX(sound.file, false, media::kButtonChannel, sound.pan, sound.volume);
}

void Shell::Pause(ui::Timer& timer) {
  MenuPauseDone = false;
  timer.SetEnabled(true);
  s_.loop.WaitUntil([this] { return MenuPauseDone; }, "the pause after a click");
}

void Shell::StopMenuMusic() {
  s_.sound.StopWav(media::kMenuMusicChannel);
  s_.music.StopMP3();
  s_.music.StopMIDI();
}

// ---- engine::ShellPort

void Shell::HideGameWindows() {
  // The windows of a game that may be open over the game screen.
  for (const char* name : {"QVDebug", "QuitGameQuery", "SaveGame", "Closeup", "MapWindow"}) {
    for (ui::Form* form : s_.desktop.Forms()) {
      if (form->name() == name) form->Hide();
    }
  }
}

void Shell::ResetMainMenuButton() {
  screen::GameScreen& screen = s_.screen;
  if (screen.MainMenuNormal) screen.MainMenuButtn->SetPicture(screen.MainMenuNormal);
}

void Shell::ShowMainMenu() {
  CreditsMode = false;
  main_menu_->Show();
}

}  // namespace qv::shell
