#pragma once
// The application shell: the player as a whole program. Start-up (the start screen with
// the engine's logo, the general settings, the display, the data files, the game CD, the
// opening logo and intro, the saved-games folder), the main menu with its five buttons, a
// new game, the credits, the quit question of the game screen, the exit screen and the
// exit sequence that ends the program. The shell also applies the general settings to
// every window (settings_apply.cpp) and is the engine's ShellPort (the CD check before a
// scene loads, the credits scene, the way back to the menu when a game ends).
//
// One class, its procedures in one file per window: start_up.cpp, discs.cpp,
// settings_apply.cpp, main_menu.cpp, quit_query.cpp, exit_sequence.cpp.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/message_box.h"
#include "core/vb_array.h"
#include "data/general_settings.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "engine/collaborators.h"
#include "engine/engine.h"
#include "media/animated_picture.h"
#include "media/music.h"
#include "media/sound_channels.h"
#include "platform/event_loop.h"
#include "platform/pictures/builtin_pictures.h"
#include "screen/game_buttons.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"
#include "shell/interface_pictures.h"
#include "shell/ports.h"
#include "ui/button.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

namespace qv::shell {

// The exit sequence has ended the program. Thrown by ExitProgram, caught by the program's
// main loop; not a std::exception, so that no procedure's handler takes it for an error.
struct ProgramExited {};

// The program's version, as the start screen shows it.
inline constexpr int kVersionMajor = 3;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 2;
// Our web address, shown under the engine logo.
inline constexpr std::string_view kWebAddress = "www.quorvex.example";

struct ShellServices {
  platform::EventLoop& loop;
  ui::Desktop& desktop;
  MessageBoxService& boxes;
  data::SceneData& data;
  media::PictureSource pictures;
  const platform::BuiltinPictures& builtins;
  screen::GameScreen& screen;
  screen::GameButtons& buttons;
  diag::NotifyLog& log;
  media::SoundChannels& sound;
  media::Music& music;
  engine::Engine& engine;
  engine::DelayPort& delays;
  engine::MapPort& map;
  screen::Inventory& inventory;
  data::GeneralSettings& settings;
};

struct ShellPorts {
  Display& display;
  DiscDrive& drive;
  SavesPort& saves;
  StartMoviesPort& movies;
};

class Shell final : public engine::ShellPort {
 public:
  // LastHoverButton values of the menus: -1 no button; the quit question's buttons.
  static constexpr int16_t kNoMenuButton = -1;
  static constexpr int16_t kNoHover = 98;
  static constexpr int16_t kYesHover = 99;
  static constexpr int16_t kPauseMs = 700;

  // Builds every window of the shell with the built-in pictures. Everything must outlive
  // the shell.
  Shell(ShellServices services, ShellPorts ports);
  ~Shell() override;
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // ---- start-up (start_up.cpp)
  // The program starts: the start screen loads, and everything runs from its timers until
  // the main menu waits for input (or the exit sequence ends the program).
  void Launch();
  void StartApp();
  void CheckRes();
  void ChangeRes(float width, float height);
  void MakeSavedFolder();

  // ---- CDs (discs.cpp)
  bool RunningFromCD() const override { return running_from_cd_; }
  void CheckCD(int16_t scene) override;

  // ---- general settings (settings_apply.cpp)
  void GetInitData();
  void OpenGenBase();
  // Reads the record again and applies one group of settings (0..6). Failures reach the
  // caller's procedure.
  void ApplyGeneral(int16_t mode);

  // ---- main menu, new game, credits (main_menu.cpp)
  void MenuActivate();
  void MenuButtonMouseMove(int16_t n);
  void MenuBackgroundMouseMove();
  void MenuButtonClick(int16_t n);
  void StartNewGame();
  // What a new game and a restored game share: the inventory bar, examine and save
  // buttons and the score displays shown or hidden as the settings recorded in their
  // tags; the notify log and the debug button of a game built with debugging.
  void ApplyGameControlTags();
  void StartDebugMode();
  void ShowCredits();

  // ---- the game screen's main-menu button and the quit question (quit_query.cpp)
  void MainMenuButtonClick();
  void QuitActivate();
  void QuitButtonMouseMove(bool yes);
  void QuitNo();
  void QuitYes();

  // ---- the exit screen and the exit sequence (exit_sequence.cpp)
  void ShowExitScreen();
  [[noreturn]] void ExitProgram();
  bool Exited() const { return exited_; }

  // ---- engine::ShellPort
  int16_t CreditsScene() const override { return s_.settings.CreditsScene; }
  void HideGameWindows() override;
  void SetQuitBusy(bool busy) override { QuitBusy = busy; }
  void ResetMainMenuButton() override;
  void ShowMainMenu() override;

  // A hook for the debug window: whether its verbose-log box is ticked (a new game of a
  // game built with debugging takes it), and showing the game screen's debug button.
  std::function<bool()> debug_verbose_checked;
  std::function<void()> show_debug_button;
  // What follows the opening of the map locations at start-up (the map is built).
  std::function<void()> after_loc_base;

  const InterfacePictures& interface_pictures() const { return interface_; }

  // ---- windows and their controls
  ui::Form& StartForm() { return *start_form_; }
  ui::Form& MainMenu() { return *main_menu_; }
  ui::Form& QuitGameQuery() { return *quit_query_; }
  ui::Form& NagForm() { return *nag_form_; }
  ui::Form& MousePoint() { return *mouse_point_; }

  // StartForm
  ui::Label* Label1 = nullptr;
  ui::Label* QVXPVersion = nullptr;
  ui::Label* QuorvexURL = nullptr;
  media::AnimatedPicture* QVXGIFLogo = nullptr;
  std::unique_ptr<ui::Timer> Timer1;
  std::unique_ptr<ui::Timer> Timer2;
  // MainMenu
  ui::PictureBox* MenuPicture1 = nullptr;
  VbArray<ui::Image*, 0, 5> Buttn{};
  std::unique_ptr<ui::Timer> PauseTimer;
  // QuitGameQuery
  ui::PictureBox* QuitPicture = nullptr;
  ui::Image* ButtnYes = nullptr;
  ui::Image* ButtnNo = nullptr;
  ui::Label* FCaption = nullptr;
  std::unique_ptr<ui::Timer> PauseIt;
  // NagForm
  ui::PictureBox* NagPicture1 = nullptr;
  ui::CommandButton* Command1 = nullptr;
  std::unique_ptr<ui::Timer> NagTimer1;
  // MousePoint: the cursor files the settings name (their tags), the dialogs' pictures.
  VbArray<ui::Image*, 0, 15> Pointer{};
  ui::PictureBox* Save_BG = nullptr;
  ui::PictureBox* Load_BG = nullptr;
  ui::PictureBox* Quit_BG = nullptr;
  media::AnimatedPicture* Yes_Resource = nullptr;
  media::AnimatedPicture* No_Resource = nullptr;
  media::AnimatedPicture* OK_Resource = nullptr;
  media::AnimatedPicture* Cancel_Resource = nullptr;

  // ---- state
  bool StartingUp = false;
  int16_t CurrentCD = 0;
  bool ResChanged = false;
  float OldScreenWidth = 0;
  float OldScreenHeight = 0;
  // The saved-games folder, ending in a separator.
  std::string SavedPath;
  bool MenuBusy = false;
  bool MenuPauseDone = false;
  bool ReturningFromLoad = false;
  bool NewGameStarting = false;
  bool CreditsMode = false;
  bool QuitBusy = false;

 private:
  void BuildStartForm();
  void BuildMainMenu();
  void BuildQuitQuery();
  void BuildNagForm();
  void BuildMousePoint();
  void UseBuiltinPictures();

  void StartFormLoad();
  void Timer1Tick();
  void EngineLogoFinished();
  void StartFormKeyDown(ui::KeyArgs& args);
  void DetectCD();
  void MenuLoad();
  void NagFormLoad();

  // Mode 2 and its layout step.
  void ApplyInterface(const data::GeneralRecord& r);
  void ApplyLayout(const data::GeneralRecord& r);
  void ApplyScore(const data::GeneralRecord& r);
  // The standard interface files that exist, over the built-in pictures.
  void LoadStandardFiles();
  void LoadCursors();
  // A picture of resource\gfx\ for a picture box (the first frame).
  platform::ImagePtr LoadStill(const std::string& name);
  // The first of the names that exists under resource\gfx\ ("" when none).
  std::string FirstExisting(std::initializer_list<const char*> names) const;

  // Sets the busy (14) or normal (13) cursor of the game's cursor set on a window.
  void ShowFormCursor(ui::Form& form, int number);
  // The menu buttons' pictures: frame 1 normal, frame 0 highlighted.
  void ShowMenuButton(int16_t n, bool highlighted);
  void PlayButtonSound(const data::SettingsSound& sound);
  // Lets events run until the pause timer (PauseTimer or PauseIt) has ticked.
  void Pause(ui::Timer& timer);
  void StopMenuMusic();

  ShellServices s_;
  ShellPorts ports_;
  InterfacePictures interface_;
  std::unique_ptr<ui::Form> start_form_;
  std::unique_ptr<ui::Form> main_menu_;
  std::unique_ptr<ui::Form> quit_query_;
  std::unique_ptr<ui::Form> nag_form_;
  std::unique_ptr<ui::Form> mouse_point_;
  bool running_from_cd_ = false;
  bool start_up_over_ = false;
  bool exited_ = false;
};

}  // namespace qv::shell
