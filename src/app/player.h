#pragma once
// The composition root: one Player owns everything a running game needs (the backend,
// the event loop, the game folder and its data files, and, as they are built, the
// engine, the screens, the media, the saved games, the shell and the diagnostics), and
// the subsystems reach each other through it. No globals: every test can make a fresh
// Player on the headless backend.

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/game_parts.h"
#include "core/message_box.h"
#include "data/game_folder.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "platform/audio.h"
#include "platform/backend.h"
#include "platform/event_loop.h"
#include "platform/memory_budget.h"
#include "platform/movie.h"
#include "platform/pictures/picture_files.h"
#include "screen/game_screen.h"
#include "shell/drives.h"
#include "shell/shell.h"
#include "ui/desktop.h"

namespace qv::platform {
class HeadlessMessageBoxes;
}

namespace qv::app {

class RunLog;

struct PlayerSettings {
  // VerboseLog from the start: progress lines in the notify log.
  bool verbose_log = false;
  // A walkthrough script answers the message boxes (headless runs always are).
  bool scripted = false;
  // Opens the sound output of a player with a window. Headless runs, and runs without
  // it, record what they would play instead.
  std::function<std::unique_ptr<platform::AudioDevice>()> open_audio;
  // The most memory the game's decoded pictures and sounds may take together.
  uint64_t memory_budget_bytes = platform::MemoryBudget::kDefaultBytes;
  // The player believes the game folder lies on a disc with this label (tests); the
  // script's `cd` changes the disc.
  std::optional<std::string> cd_label;
  // The size of the monitor of a player with a window. Unset (headless), the monitor is
  // the virtual screen.
  std::function<std::pair<int, int>()> desktop_size;
};

// One message box as the player showed it.
struct ShownBox {
  std::string title;
  std::string text;
  BoxButtons buttons = BoxButtons::kOk;
  BoxAnswer answer = BoxAnswer::kOk;
};

class Player {
 public:
  Player(std::unique_ptr<platform::Backend> backend, const std::filesystem::path& game_dir,
         PlayerSettings settings = {});
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  const PlayerSettings& settings() const { return settings_; }
  const platform::MemoryBudget& memory_budget() const { return memory_budget_; }
  platform::Backend& backend() { return *backend_; }
  platform::EventLoop& loop() { return loop_; }
  // The boxes every part of the player shows: recorded, written to the run log, then
  // shown by the backend or answered by the script.
  MessageBoxService& boxes() { return boxes_; }
  const data::GameFolder& folder() const { return folder_; }
  data::SceneData& scene_data() { return scene_data_; }
  const data::SceneData& scene_data() const { return scene_data_; }

  ui::Desktop& desktop() { return desktop_; }
  const ui::Desktop& desktop_const() const { return desktop_; }
  screen::GameScreen& screen() { return screen_; }
  const screen::GameScreen& screen() const { return screen_; }
  diag::NotifyLog& notify_log() { return notify_log_; }
  engine::Engine& engine() { return game_.engine; }
  const engine::Engine& engine() const { return game_.engine; }
  // The sound output, the 20 sound channels and the music.
  platform::AudioDevice& audio() { return *audio_; }
  const platform::AudioDevice& audio() const { return *audio_; }
  media::SoundChannels& sound() { return game_.sound; }
  media::Music& music() { return game_.music; }
  const media::Music& music() const { return game_.music; }
  engine::Delays& delays() { return game_.delays; }
  const engine::Delays& delays() const { return game_.delays; }
  engine::Conversations& conversations() { return game_.conversations; }
  const engine::Conversations& conversations() const { return game_.conversations; }
  // What the game's general settings say.
  data::GeneralSettings& settings() { return game_.settings; }
  const data::GeneralSettings& settings_record() const { return game_.settings; }
  // Start-up, the menus, quitting.
  shell::Shell& shell() { return game_.shell; }
  const shell::Shell& shell() const { return game_.shell; }
  // The saved games and the save and load dialogs.
  saves::SavedGames& saved_games() { return game_.saved_games; }
  saves::SaveDialogs& save_dialogs() { return game_.save_dialogs; }
  // The drive of --cd-label (null without it: the game folder as it really lies).
  shell::SimulatedDrive* simulated_drive() { return simulated_drive_; }
  const shell::FixedDisplay& display() const { return display_; }
  // The inventory bar and the clicks on scene objects, with what the general settings
  // say about them.
  screen::Inventory& inventory() { return game_.inventory; }
  const screen::Inventory& inventory() const { return game_.inventory; }
  screen::ObjectInteraction& object_interaction() { return game_.object_interaction; }
  // The map, the close-up window and the debug window.
  screen::MapWindow& map() { return game_.map; }
  const screen::MapWindow& map() const { return game_.map; }
  screen::Closeup& closeup() { return game_.closeup; }
  diag::QVDebug& debug() { return game_.debug; }
  // The opening logo, the intro and the movies of the game.
  media::Movies& movies() { return game_.movies; }
  const media::Movies& movies() const { return game_.movies; }

  // Start-up: the start screen, the settings, the data files, the CD, the logos and the
  // intro; returns when the main menu waits for input. The exit sequence may end the
  // program on the way (shell::ProgramExited).
  void Start();

  // The player's own main loop: lets events run until the exit sequence ends the
  // program (shell::ProgramExited). Closing the window, or SIGTERM, runs the exit
  // sequence. In scripted runs the scripted user (the loop's IdleUser) acts whenever the
  // player is idle, and the loop throws platform::RunFinished when it has nothing more
  // to do.
  void Run();

  // The answer the script gives to the next message box; a box without that button gets
  // its first button.
  void QueueBoxAnswer(BoxAnswer answer);

  // Every line the notify log receives comes here too: recorded for checks and the state
  // JSON, and written to the run log.
  void LogLine(std::string_view text);
  const std::vector<std::string>& log_lines() const { return log_lines_; }

  // Every message box shown so far, in order.
  const std::vector<ShownBox>& messages() const { return messages_; }

  // Writes every notify-log line and message box to `log` from now on (null: nowhere).
  void SetRunLog(RunLog* log) { run_log_ = log; }

 private:
  // The game screen's keys.
  void MainKeyDown(ui::KeyArgs& args);

  // The player's message boxes.
  class Boxes : public MessageBoxService {
   public:
    explicit Boxes(Player& player) : player_(player) {}
    BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                   BoxIcon icon) override;
    void QueueAnswer(BoxAnswer answer) { answers_.push_back(answer); }

   private:
    Player& player_;
    std::deque<BoxAnswer> answers_;  // scripted answers of a run with a window
  };

  PlayerSettings settings_;
  // Before everything that holds decoded media.
  platform::MemoryBudget memory_budget_;
  std::unique_ptr<platform::Backend> backend_;
  platform::HeadlessMessageBoxes* headless_boxes_ = nullptr;  // headless runs only
  platform::EventLoop loop_;
  ui::Desktop desktop_;
  RunLog* run_log_ = nullptr;
  std::vector<ShownBox> messages_;
  std::vector<std::string> log_lines_;
  Boxes boxes_;
  data::GameFolder folder_;
  data::SceneData scene_data_;
  platform::PictureFiles pictures_;
  screen::GameScreen screen_;
  diag::NotifyLog notify_log_;
  std::unique_ptr<platform::AudioDevice> audio_;
  // Lets the sound output go while nothing plays (players with a window only).
  platform::Timer audio_idle_timer_;
  // Movies decoded with a window, timed on the virtual clock headless.
  std::unique_ptr<platform::MoviePlayer> movie_player_;
  shell::FixedDisplay display_;
  std::unique_ptr<shell::DiscDrive> drive_;
  shell::SimulatedDrive* simulated_drive_ = nullptr;
  GameParts game_;
};

// The first button of a box: the answer when nothing else is given.
BoxAnswer FirstButton(BoxButtons buttons);

// True when `answer` is one of the box's buttons.
bool HasButton(BoxButtons buttons, BoxAnswer answer);

}  // namespace qv::app
