// The main menu: its five buttons with their pictures and sounds, a new game, the
// credits.

#include "core/procedure.h"
#include "core/text.h"
#include "shell/shell.h"

namespace qv::shell {

void Shell::MenuLoad() {
  MenuPicture1->Move(0, 0);
  const int screen_w = s_.desktop.ScreenWidth();
  const int screen_h = s_.desktop.ScreenHeight();
  main_menu_->Move(0, 0, screen_w, screen_h);
  if (screen_w > 800) {
    MenuPicture1->Move(screen_w / 2 - MenuPicture1->Width() / 2,
                       screen_h / 2 - MenuPicture1->Height() / 2);
  }
  ShowFormCursor(*main_menu_, engine::kDefaultCursor);
  for (int16_t n = 1; n <= 5; ++n)
    ShowMenuButton(n, false);
}

void Shell::MenuActivate() {
  RunProcedure(s_.boxes, "Form_Activate", [this] {
    MenuBusy = false;
    ShowFormCursor(*main_menu_, engine::kDefaultCursor);
    if (ReturningFromLoad) {
      ReturningFromLoad = false;
      return;
    }
    const data::SettingsSound& music = s_.settings.menu_music;
    if (music.file.empty()) return;
    const std::string kind = LastThreeLower(music.file);
    // A WAV plays on the menu's own channel, which the menu's buttons stop again when
    // they leave the menu.
    if (kind == "wav") {
      s_.sound.PlayWAVQVX(music.file, true, media::kMenuMusicChannel, 0, music.volume);
    } else if (kind == "mid") {
      s_.music.PlayMIDI(music.file, music.volume);
    } else if (kind == "mp3") {
      s_.music.PlayMP3(music.file, music.volume, 0);
    }
  });
}

void Shell::MenuButtonMouseMove(int16_t n) {
  if (MenuBusy) return;
  RunProcedure(s_.boxes, "Buttn_MouseMove", [&] {
    for (int16_t k = 1; k <= 5; ++k)
      ShowMenuButton(k, k == n);
    int16_t& last = s_.screen.LastHoverButton;
    if (!s_.settings.hover.file.empty() && last != n) {
      last = n;
      PlayButtonSound(s_.settings.hover);
    }
  });
}

void Shell::MenuBackgroundMouseMove() {
  s_.screen.LastHoverButton = kNoMenuButton;
  if (MenuBusy) return;
  for (int16_t n = 1; n <= 5; ++n)
    ShowMenuButton(n, false);
}

void Shell::MenuButtonClick(int16_t n) {
  ShowFormCursor(*main_menu_, engine::kBusyCursor);
  if (MenuBusy) return;
  RunProcedure(s_.boxes, "Buttn_Click", [&] {
    main_menu_->SetTopMost(false);
    MenuPauseDone = false;
    MenuBusy = true;
    PlayButtonSound(s_.settings.click);
    // Every menu command starts 0.7 seconds after the click and its sound.
    Pause(*PauseTimer);
    switch (n) {
      case 1:
        ApplyGeneral(6);
        if (s_.settings.IntroAvailable) {
          StopMenuMusic();
          s_.loop.DoEvents();
          NewGameStarting = false;
          StartingUp = false;
          main_menu_->SetTopMost(false);
          ApplyGeneral(5);
          main_menu_->SetTopMost(true);
        } else {
          ShowFormCursor(*main_menu_, engine::kDefaultCursor);
          MenuBusy = false;
        }
        break;
      case 2:
        StopMenuMusic();
        s_.loop.DoEvents();
        StartNewGame();
        break;
      case 3:
        ReturningFromLoad = true;
        s_.music.ClearSoundtrack();
        s_.inventory.SetHandSlot(screen::Inventory::kEmptyHand);
        s_.data.scene.CurrentScene = 0;
        s_.engine.SceneChanging = false;
        s_.map.SetMapActive(false);
        ShowFormCursor(*main_menu_, engine::kDefaultCursor);
        ports_.saves.ShowLoadGame();
        s_.loop.DoEvents();
        MenuBusy = false;
        break;
      case 4:
        if (s_.settings.CreditsScene != 0) {
          StopMenuMusic();
          s_.loop.DoEvents();
          ShowCredits();
        } else {
          MenuBusy = false;
          ShowFormCursor(*main_menu_, engine::kDefaultCursor);
        }
        break;
      default:
        StopMenuMusic();
        if (!s_.settings.ShowExitPicture) ExitProgram();
        ShowFormCursor(*main_menu_, engine::kDefaultCursor);
        ShowExitScreen();
        break;
    }
  });
}

void Shell::StartNewGame() {
  RunProcedure(s_.boxes, "StartNewGame", [this] {
    screen::GameScreen& screen = s_.screen;
    engine::Engine& engine = s_.engine;
    engine.StartGame();
    engine.ScnTimer->SetInterval(1);
    NewGameStarting = true;
    main_menu_->SetTopMost(false);
    main_menu_->Hide();
    ApplyGeneral(0);
    // The bar and the examine button take clicks again after the credits.
    screen.InvBar->SetEnabled(true);
    screen.ExamineItem->SetEnabled(true);
    screen.InvBar->SetVisible(true);
    screen.ExamineItem->SetVisible(true);
    ApplyGameControlTags();
    ApplyGeneral(5);
    // The game state of the last game goes: soundtrack, hand, scene, map, flags, the
    // hidden objects' memories, the busy-cursor marks of the delays; the score is 0.
    engine.ResetGameState();
    s_.delays.ClearBusyCursorMarks();
    screen.ShowScore("0");
    s_.inventory.NewGameInventory();
    NewGameStarting = false;
    StartDebugMode();
    screen.Main().Show();
    s_.loop.DoEvents();
    engine.LoadScene(1);
  });
}

void Shell::ApplyGameControlTags() {
  screen::GameScreen& screen = s_.screen;
  for (ui::Control* control :
       {static_cast<ui::Control*>(screen.InvBar), static_cast<ui::Control*>(screen.ExamineItem),
        static_cast<ui::Control*>(screen.SaveGameButtn),
        static_cast<ui::Control*>(screen.SmallScore),
        static_cast<ui::Control*>(screen.LargeScore)}) {
    if (control->Tag() == "True") control->SetVisible(true);
    if (control->Tag() == "False") control->SetVisible(false);
  }
}

void Shell::StartDebugMode() {
  if (s_.settings.DebugMode != 1) return;
  s_.log.EmptyContents();
  s_.log.NoWin().Show();
  if (show_debug_button) show_debug_button();
  if (debug_verbose_checked) s_.engine.state.VerboseLog = debug_verbose_checked();
}

void Shell::ShowCredits() {
  screen::GameScreen& screen = s_.screen;
  CreditsMode = true;
  s_.engine.StartGame();
  for (ui::Control* control :
       {static_cast<ui::Control*>(screen.InvBar), static_cast<ui::Control*>(screen.ExamineItem),
        static_cast<ui::Control*>(screen.SaveGameButtn),
        static_cast<ui::Control*>(screen.SmallScore),
        static_cast<ui::Control*>(screen.LargeScore)}) {
    control->SetVisible(false);
  }
  if (s_.settings.DebugMode == 1 && show_debug_button) show_debug_button();
  screen.Main().Show();
  s_.loop.DoEvents();
  s_.engine.LoadScene(s_.settings.CreditsScene);
}

}  // namespace qv::shell
