#pragma once
// The save and load dialogs: `SaveGame`, opened from the game screen's save button after
// the snapshot is taken, and `LoadGame`, opened from the main menu. Both list the saved
// games and have OK and Cancel picture buttons that light up under the pointer, with the
// menus' hover and click sounds. A missing name or choice shows the dialog's message for
// a second; a name that exists already is written over only when the player says so.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "core/message_box.h"
#include "data/general_settings.h"
#include "media/music.h"
#include "media/sound_channels.h"
#include "platform/event_loop.h"
#include "saves/saved_games.h"
#include "screen/game_screen.h"
#include "shell/ports.h"
#include "shell/shell.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "ui/timer.h"

namespace qv::saves {

// The *.sav files of the save folder and, when given, of a second folder whose files are
// not already listed (a read-only game's own saves), sorted by name.
class SavedFileList : public ui::FileListBox {
 public:
  using FileListBox::FileListBox;
  void RefreshWith(const std::optional<std::filesystem::path>& other);
};

struct DialogServices {
  platform::EventLoop& loop;
  ui::Desktop& desktop;
  MessageBoxService& boxes;
  screen::GameScreen& screen;
  media::SoundChannels& sound;
  media::Music& music;
  const data::GeneralSettings& settings;
  shell::Shell& shell;
  SavedGames& games;
};

class SaveDialogs final : public shell::SavesPort {
 public:
  // LastHoverButton codes of the dialogs' buttons.
  static constexpr int16_t kNoButton = 97;
  static constexpr int16_t kCancelHover = 98;
  static constexpr int16_t kOkHover = 99;
  static constexpr int kMessageMs = 1000;
  static constexpr int kWidth = 400;
  static constexpr int kHeight = 300;

  explicit SaveDialogs(DialogServices services);
  ~SaveDialogs() override;
  SaveDialogs(const SaveDialogs&) = delete;
  SaveDialogs& operator=(const SaveDialogs&) = delete;

  // shell::SavesPort: both modal.
  void ShowLoadGame() override;
  void ShowSaveGame() override;

  ui::Form& SaveGame() { return *save_.form; }
  ui::Form& LoadGame() { return *load_.form; }

  struct SaveWindow {
    std::unique_ptr<ui::Form> form;
    SavedFileList* File1 = nullptr;
    ui::TextBox* Text1 = nullptr;
    ui::TextBox* Text2 = nullptr;
    ui::Label* Label1 = nullptr;
    ui::Label* FCaption = nullptr;
    ui::Image* ButtnOK = nullptr;
    ui::Image* ButtnC = nullptr;
    std::unique_ptr<ui::Timer> MsgTimer;
  };
  struct LoadWindow {
    std::unique_ptr<ui::Form> form;
    SavedFileList* File1 = nullptr;
    ui::Label* Label1 = nullptr;  // description
    ui::Label* Label2 = nullptr;  // date
    ui::Label* Label3 = nullptr;  // time
    ui::Label* Label4 = nullptr;  // "Please choose a file!"
    ui::Label* FCaption = nullptr;
    ui::Image* ButtnOK = nullptr;
    ui::Image* ButtnC = nullptr;
    std::unique_ptr<ui::Timer> MsgTimer;
    // No second load while one is running.
    bool LoadStarted = false;
  };
  SaveWindow& save_window() { return save_; }
  LoadWindow& load_window() { return load_; }

  // The handlers.
  void SaveActivate();
  void LoadActivate();
  void SaveFileClick();
  void LoadFileClick();
  void SaveOkClick();
  void SaveCancelClick();
  void LoadOkClick();
  void LoadCancelClick();
  // The pointer over OK (ok true) or Cancel of a dialog.
  void ButtonMouseMove(ui::Image& ok, ui::Image& cancel, bool over_ok);
  // The pointer over anything else of a dialog.
  void ElsewhereMouseMove(ui::Image& ok, ui::Image& cancel);

 private:
  void BuildSaveGame();
  void BuildLoadGame();
  // OK and Cancel on a dialog's window, with their handlers.
  void BuildButtons(ui::Form& form, ui::Image*& ok, ui::Image*& cancel);
  std::unique_ptr<ui::Timer> MessageTimer(ui::Label& message);
  void NormalButtons(ui::Image& ok, ui::Image& cancel);
  // The background picture of MousePoint for a dialog; the caption only without one.
  void UseBackground(ui::Form& form, ui::Label& caption, const ui::PictureBox& background);
  // The hover sound of a button once per entry (code 98 or 99).
  void HoverSound(int16_t code);
  void ClickSound();

  DialogServices s_;
  SaveWindow save_;
  LoadWindow load_;
};

}  // namespace qv::saves
