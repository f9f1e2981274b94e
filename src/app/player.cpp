#include "app/player.h"

#include <utility>

#include "app/run_log.h"
#include "core/procedure.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/recording_audio.h"
#include "platform/movies/movie_players.h"

namespace qv::app {

namespace {

std::unique_ptr<platform::AudioDevice> OpenAudio(const PlayerSettings& settings,
                                                 const platform::Backend& backend) {
  // --headless means no audio device at all.
  if (!backend.headless() && settings.open_audio) return settings.open_audio();
  return std::make_unique<platform::RecordingAudio>();
}

std::pair<int, int> DesktopSize(const PlayerSettings& settings, const platform::Backend& backend) {
  if (settings.desktop_size) return settings.desktop_size();
  return {backend.screen_width(), backend.screen_height()};
}

std::unique_ptr<shell::DiscDrive> MakeDrive(const PlayerSettings& settings,
                                            const std::filesystem::path& game_dir) {
  if (settings.cd_label) return std::make_unique<shell::SimulatedDrive>(*settings.cd_label);
  return std::make_unique<shell::FolderDrive>(game_dir);
}

}  // namespace

BoxAnswer FirstButton(BoxButtons buttons) {
  return buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
}

bool HasButton(BoxButtons buttons, BoxAnswer answer) {
  switch (buttons) {
    case BoxButtons::kOk:
      return answer == BoxAnswer::kOk;
    case BoxButtons::kYesNo:
      return answer == BoxAnswer::kYes || answer == BoxAnswer::kNo;
    case BoxButtons::kOkCancel:
      return answer == BoxAnswer::kOk || answer == BoxAnswer::kCancel;
  }
  return false;
}

Player::Player(std::unique_ptr<platform::Backend> backend, const std::filesystem::path& game_dir,
               PlayerSettings settings)
    : settings_(settings),
      memory_budget_(settings_.memory_budget_bytes),
      backend_(std::move(backend)),
      loop_(*backend_),
      desktop_(loop_),
      boxes_(*this),
      folder_(game_dir),
      scene_data_(folder_, boxes_),
      screen_(desktop_, media::PictureSource{folder_, pictures_}, pictures_.builtins()),
      notify_log_(desktop_, boxes_, backend_->clipboard()),
      audio_(OpenAudio(settings_, *backend_)),
      audio_idle_timer_(loop_.timers(), [this] { audio_->ReleaseIdleOutput(); }),
      movie_player_(backend_->headless()
                        ? platform::MakeTimedPlayer(backend_->clock(), memory_budget_)
                        : platform::MakeDecodingPlayer(*audio_, backend_->clock(), memory_budget_)),
      display_(DesktopSize(settings_, *backend_).first, DesktopSize(settings_, *backend_).second),
      drive_(MakeDrive(settings_, game_dir)),
      simulated_drive_(dynamic_cast<shell::SimulatedDrive*>(drive_.get())),
      game_(GamePartsServices{loop_, desktop_, boxes_, folder_, scene_data_, pictures_, screen_,
                              notify_log_, *audio_, display_, *drive_, *movie_player_}) {
  // The display decision of start-up switches the window; the monitor's mode stays.
  display_.on_switch = [this](bool on) { backend_->SetFullscreen(on); };
  pictures_.UseMemoryBudget(memory_budget_);
  // A long picture decode lets events run, as the game's other long operations do.
  pictures_.SetYield([this] { loop_.DoEvents(); });
  audio_->UseMemoryBudget(memory_budget_);
  if (!backend_->headless()) {
    audio_idle_timer_.SetInterval(platform::AudioDevice::kIdleCheckMs);
    audio_idle_timer_.SetEnabled(true);
  }
  auto* headless = dynamic_cast<platform::HeadlessBackend*>(backend_.get());
  if (headless != nullptr && backend_->headless()) {
    headless_boxes_ = &headless->headless_boxes();
    settings_.scripted = true;
  }
  screen_.Main().on_key_down = [this](ui::KeyArgs& args) { MainKeyDown(args); };
  // Typed characters mean nothing on the game screen.
  screen_.Main().on_key_press = [](ui::KeyArgs& args) { args.handled = true; };
  notify_log_.SetListener([this](std::string_view line) { LogLine(line); });
  notify_log_.on_pointer_over = [this] {
    if (!screen_.BusyCursorShowing()) screen_.ShowCursor(screen::kDefaultCursor);
  };
  game_.engine.state.VerboseLog = settings_.verbose_log;
  game_.debug.Check1->SetValue(settings_.verbose_log ? 1 : 0);
  // Closing the window (or SIGTERM) ends the program the way the menu's close does.
  loop_.SetOnQuit([this] { game_.shell.ExitProgram(); });
}

Player::~Player() {
  scene_data_.CloseBases();
}

void Player::Start() {
  game_.shell.Launch();
}

void Player::Run() {
  loop_.WaitForUser([this] { return game_.shell.Exited(); }, "the player to be closed");
}

void Player::MainKeyDown(ui::KeyArgs& args) {
  using platform::Key;
  switch (args.key) {
    case Key::kEscape:
      args.handled = true;
      RunProcedure(boxes_, "Form_KeyDown", [this] { game_.movies.GameScreenEscape(); });
      return;
    case Key::kF1:
      // The music switch, except while a scene is being built.
      args.handled = true;
      if (!game_.engine.SceneChanging) {
        RunProcedure(boxes_, "Form_KeyDown", [this] { game_.music.ToggleMusic(); });
      }
      return;
    case Key::kF2:
    case Key::kF3:
      return;  // passed on
    default:
      args.handled = true;  // every other key is discarded
      return;
  }
}

void Player::QueueBoxAnswer(BoxAnswer answer) {
  if (headless_boxes_ != nullptr) {
    headless_boxes_->QueueAnswer(answer);
  } else {
    boxes_.QueueAnswer(answer);
  }
}

void Player::LogLine(std::string_view text) {
  log_lines_.emplace_back(text);
  if (run_log_ != nullptr) run_log_->LogLine(text);
}

BoxAnswer Player::Boxes::Show(std::string_view title, std::string_view text, BoxButtons buttons,
                              BoxIcon icon) {
  // Logged before it shows: a real box blocks until it is answered.
  if (player_.run_log_ != nullptr) player_.run_log_->MessageBox(title, text);
  BoxAnswer answer;
  if (player_.settings_.scripted && player_.headless_boxes_ == nullptr) {
    // A scripted run with a window: the script answers instead of a person.
    answer = FirstButton(buttons);
    if (!answers_.empty()) {
      if (HasButton(buttons, answers_.front())) answer = answers_.front();
      answers_.pop_front();
    }
  } else {
    answer = player_.backend_->message_boxes().Show(title, text, buttons, icon);
  }
  player_.messages_.push_back({std::string(title), std::string(text), buttons, answer});
  return answer;
}

}  // namespace qv::app
