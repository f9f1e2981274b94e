// The game screen's main-menu button and the quit question it opens: No goes back to
// the game, Yes ends it and returns to the main menu.

#include "core/procedure.h"
#include "shell/shell.h"

namespace qv::shell {

void Shell::MainMenuButtonClick() {
  screen::GameScreen& screen = s_.screen;
  screen.Main().SetTopMost(false);
  if (!s_.engine.GameEnded() && !CreditsMode) {
    quit_query_->ShowModal();
    return;
  }
  // The game is over (or only the credits ran): straight back to the menu.
  RunProcedure(s_.boxes, "MainMenuButtn_Click", [&] {
    s_.delays.StopAllTimers();
    screen.ShowCover();
    screen.HideGameScreen();
    s_.engine.ResetGameState();
    ResetMainMenuButton();
    ShowMainMenu();
  });
}

void Shell::QuitActivate() {
  QuitBusy = false;
  ButtnYes->SetPicture(Yes_Resource->FramePicture(1));
  ButtnNo->SetPicture(No_Resource->FramePicture(1));
}

void Shell::QuitButtonMouseMove(bool yes) {
  if (QuitBusy) return;
  RunProcedure(s_.boxes, yes ? "ButtnYes_MouseMove" : "ButtnNo_MouseMove", [&] {
    const platform::ImagePtr yes_picture = Yes_Resource->FramePicture(yes ? 0 : 1);
    const platform::ImagePtr no_picture = No_Resource->FramePicture(yes ? 1 : 0);
    if (ButtnYes->Picture() != yes_picture) ButtnYes->SetPicture(yes_picture);
    if (ButtnNo->Picture() != no_picture) ButtnNo->SetPicture(no_picture);
    const int16_t code = yes ? kYesHover : kNoHover;
    int16_t& last = s_.screen.LastHoverButton;
    if (!s_.settings.hover.file.empty() && last != code) {
      last = code;
      PlayButtonSound(s_.settings.hover);
    }
  });
}

void Shell::QuitNo() {
  if (QuitBusy) return;
  RunProcedure(s_.boxes, "ButtnNo_Click", [this] {
    PlayButtonSound(s_.settings.click);
    QuitBusy = true;
    quit_query_->Hide();
    if (s_.engine.state.VerboseLog) {
      s_.log.NoWin().Show();
      s_.log.NoWin().SetTopMost(true);
    }
  });
}

void Shell::QuitYes() {
  ShowFormCursor(*quit_query_, engine::kBusyCursor);
  if (QuitBusy) return;
  RunProcedure(s_.boxes, "ButtnYes_Click", [this] {
    screen::GameScreen& screen = s_.screen;
    PlayButtonSound(s_.settings.click);
    QuitBusy = true;
    s_.delays.StopAllTimers();
    Pause(*PauseIt);
    screen.ShowCover();
    s_.loop.DoEvents();
    s_.log.Unload();
    quit_query_->Hide();
    screen.Main().Hide();
    screen.Main().SetTopMost(false);
    screen.Main().Unload();
    s_.engine.StopAllSounds();
    s_.engine.ResetGameState();
    ResetMainMenuButton();
    s_.loop.DoEvents();
    ShowMainMenu();
  });
}

}  // namespace qv::shell
