// Start-up: the start screen, its timers and the engine logo, StartApp, the display
// resolution and the saved-games folder.

#include <filesystem>
#include <system_error>

#include "core/procedure.h"
#include "core/text.h"
#include "platform/user_files.h"
#include "shell/shell.h"

namespace qv::shell {

namespace {

// The windows Timer1 loads, in its order.
constexpr const char* kWindowsToLoad[] = {"IntroFrm",      "QVDebug",  "Closeup",  "MousePoint",
                                          "QuitGameQuery", "SaveGame", "LoadGame", "MainMenu",
                                          "Main",          "MapWindow"};

}  // namespace

void Shell::Launch() {
  start_up_over_ = false;
  start_form_->Show();
  // Everything else runs from the start screen's timers; the program's user comes in
  // once the main menu is up (or start-up has given up with a box).
  s_.loop.WaitUntil([this] { return start_up_over_; }, "the start-up to reach the main menu");
}

void Shell::StartFormLoad() {
  QVXPVersion->SetCaption("QVX v" + PlainNum(kVersionMajor) + "." + PlainNum(kVersionMinor) + "." +
                          PlainNum(kVersionRevision));
  GetInitData();
  s_.loop.DoEvents();
  CheckRes();
  s_.loop.DoEvents();
  const int screen_w = s_.desktop.ScreenWidth();
  const int screen_h = s_.desktop.ScreenHeight();
  start_form_->Move(0, 0, screen_w, screen_h);
  // The version in the bottom right corner, whole.
  QVXPVersion->SetLeft(795 - QVXPVersion->Width());
  if (screen_w > 800) {
    Label1->Move(screen_w / 2 - Label1->Width() / 2, screen_h / 2 - Label1->Height() / 2);
    QVXGIFLogo->Move(screen_w / 2 - QVXGIFLogo->Width() / 2,
                     screen_h / 2 - QVXGIFLogo->Height() / 2);
    QuorvexURL->Move(screen_w / 2 - QuorvexURL->Width() / 2,
                     screen_h / 2 + QVXGIFLogo->Height() / 2 + 5);
    QVXPVersion->Move(screen_w - 60, screen_h - 20);
  }
  if (s_.settings.ShowEngineLogo) QVXPVersion->SetVisible(true);
  s_.music.MusicOn = true;
  Timer1->SetEnabled(true);
  s_.loop.DoEvents();
}

void Shell::Timer1Tick() {
  Timer1->SetEnabled(false);
  s_.loop.DoEvents();
  for (const char* name : kWindowsToLoad) {
    for (ui::Form* form : s_.desktop.Forms()) {
      if (form->name() == name) form->Load();
    }
  }
  s_.loop.DoEvents();
  Label1->SetVisible(false);
  if (!s_.settings.ShowEngineLogo) {
    StartApp();
    return;
  }
  QVXGIFLogo->SetVisible(true);
  QuorvexURL->SetVisible(true);
  if (QVXGIFLogo->FrameCount() >= 2) {
    QVXGIFLogo->SetCurrentFrame(0);
    QVXGIFLogo->Start();
  } else {
    Timer2->SetEnabled(true);
  }
}

void Shell::EngineLogoFinished() {
  QVXGIFLogo->Stop();
  QVXGIFLogo->SetVisible(false);
  QuorvexURL->SetVisible(false);
  StartApp();
}

void Shell::StartFormKeyDown(ui::KeyArgs& args) {
  if (args.key != platform::Key::kEscape) return;
  args.handled = true;
  if (QVXGIFLogo->Visible()) {
    Timer2->SetEnabled(false);
    EngineLogoFinished();
  } else {
    ports_.movies.SkipOpeningLogo();
  }
}

void Shell::StartApp() {
  RunProcedure(s_.boxes, "StartApp", [this] {
    StartingUp = true;
    NewGameStarting = false;
    OpenGenBase();
    s_.data.OpenLocBase(after_loc_base);
    s_.data.OpenInvBase();
    s_.data.OpenSceneBase();
    s_.data.OpenConvBase();
    s_.loop.DoEvents();
    DetectCD();
    ApplyGeneral(4);
    ApplyGeneral(5);
    MakeSavedFolder();
    s_.loop.DoEvents();
    StartingUp = false;
    main_menu_->Show();
  });
  start_up_over_ = true;
}

void Shell::CheckRes() {
  RunProcedure(s_.boxes, "CheckRes", [this] {
    const int w = ports_.display.DesktopWidth();
    const int h = ports_.display.DesktopHeight();
    const std::string screen = "Display " + PlainNum(w) + " x " + PlainNum(h);
    if (w < 800 || h < 600 || ((w > 800 || h > 600) && s_.settings.Force800x600)) {
      ResChanged = true;
      OldScreenWidth = static_cast<float>(w);
      OldScreenHeight = static_cast<float>(h);
      float width = 800, height = 600;
      ChangeRes(width, height);
      s_.log.Append(screen + ": fullscreen, the 800 x 600 screen scaled to it.");
    } else {
      s_.log.Append(screen + ": left as it is.");
    }
  });
}

void Shell::ChangeRes(float width, float height) {
  RunProcedure(s_.boxes, "ChangeRes", [&] {
    // The monitor's mode stays: 800 x 600 becomes fullscreen with the screen scaled, any
    // other size (the one remembered at start) the window again.
    ports_.display.SetFullscreen(static_cast<int>(width) == 800 && static_cast<int>(height) == 600);
  });
}

void Shell::MakeSavedFolder() {
  namespace fs = std::filesystem;
  const fs::path in_game = s_.data.folder().root() / "Saved";
  std::error_code ec;
  if (!fs::is_directory(in_game, ec)) fs::create_directory(in_game, ec);
  fs::path folder = in_game;
  // A game on a disc or in a folder the player may not write to keeps its saved games in
  // the user's data folder, one folder per game.
  if (!platform::FolderWritable(in_game)) {
    const std::string game = s_.data.folder().root().filename().string();
    folder = platform::DataFolder() / (game.empty() ? std::string("game") : game) / "Saved";
    fs::create_directories(folder, ec);
  }
  SavedPath = folder.string();
  if (!SavedPath.ends_with('/')) SavedPath += '/';
}

}  // namespace qv::shell
