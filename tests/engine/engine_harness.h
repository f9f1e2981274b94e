#pragma once
// A headless player for engine scenarios: a game built from JSON, the game screen, the
// notify log, the sound channels and music on the recording sound device, the delay
// timers, the conversation box, the inventory and the clicks on scene objects, the
// recorded movies and the engine, on the virtual clock. Every sound file the game JSON names
// ("door.wav", "theme.mid", "loop.mp3") exists in resource/mmedia/: a short silent WAV,
// a one-note MIDI file, and an empty MP3, which the recording device accepts.

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "app/game_parts.h"
#include "data/game_folder.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "platform/event_loop.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/recording_audio.h"
#include "platform/movies/movie_players.h"
#include "platform/pictures/picture_files.h"
#include "screen/game_screen.h"
#include "shell/drives.h"
#include "sound/wav_writer.h"
#include "test_support.h"
#include "tools/game_json.h"
#include "ui/desktop.h"

namespace qv::testing {

// The engine's movies, recorded: each call as "PlayMovie(name, param, True, False)"; a
// movie ends at once.
class RecordingMovies : public engine::MoviePort {
 public:
  // Called with every call as it is recorded (tests look at the game at that moment).
  std::function<void(const std::string&)> on_call;
  const std::vector<std::string>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  void PlayMovie(const std::string& name, int16_t param, bool wait_scene,
                 bool keep_cover) override {
    auto text = [](bool b) { return b ? std::string("True") : std::string("False"); };
    calls_.push_back("PlayMovie(" + name + ", " + std::to_string(param) + ", " + text(wait_scene) +
                     ", " + text(keep_cover) + ")");
    if (on_call) on_call(calls_.back());
  }
  bool MovieFinished() const override { return true; }
  bool MovieWaitsScene() const override { return false; }

 private:
  std::vector<std::string> calls_;
};

class EngineHarness {
 public:
  explicit EngineHarness(const std::string& game_json)
      : backend_(std::make_unique<platform::HeadlessBackend>()),
        loop_(*backend_),
        desktop_(loop_),
        folder_(Build(dir_, game_json)),
        data_(folder_, backend_->headless_boxes()),
        screen_(desktop_, media::PictureSource{folder_, pictures_}, pictures_.builtins()),
        log_(desktop_, backend_->headless_boxes(), backend_->clipboard()),
        movie_player_(platform::MakeTimedPlayer(backend_->clock(), budget_)),
        game_(app::GamePartsServices{loop_, desktop_, backend_->headless_boxes(), folder_, data_,
                                     pictures_, screen_, log_, audio_, display_, drive_,
                                     *movie_player_, &movies_}) {
    log_.SetListener([this](std::string_view line) { all_lines_.emplace_back(line); });
    data_.OpenInvBase();
    data_.OpenSceneBase();
    data_.OpenConvBase();
    game_.engine.state.VerboseLog = true;
    screen_.Main().Show();
  }

  engine::Engine& engine() { return game_.engine; }
  engine::GameState& state() { return game_.engine.state; }
  data::SceneTables& scene() { return data_.scene; }
  screen::GameScreen& screen() { return screen_; }
  diag::NotifyLog& log() { return log_; }
  RecordingMovies& calls() { return movies_; }
  shell::Shell& shell() { return game_.shell; }
  engine::Delays& delays() { return game_.delays; }
  engine::Conversations& conversations() { return game_.conversations; }
  platform::RecordingAudio& audio() { return audio_; }
  media::SoundChannels& sound() { return game_.sound; }
  media::Music& music() { return game_.music; }
  screen::Inventory& inventory() { return game_.inventory; }
  screen::ObjectInteraction& interaction() { return game_.object_interaction; }
  screen::MapWindow& map() { return game_.map; }
  screen::DirectionLinks& links() { return game_.direction_links; }
  screen::Closeup& closeup() { return game_.closeup; }
  diag::QVDebug& debug() { return game_.debug; }
  data::SceneData& data() { return data_; }
  data::GeneralSettings& settings() { return game_.settings; }
  platform::EventLoop& loop() { return loop_; }
  platform::HeadlessBackend& backend() { return *backend_; }
  platform::PictureFiles& pictures() { return pictures_; }
  const TempDir& dir() const { return dir_; }

  // Lets everything pending at the current time run.
  void Settle() {
    for (int i = 0; i < 1000 && !loop_.Idle(); ++i)
      loop_.DoEvents();
  }
  void LoadScene(int16_t n) {
    game_.engine.LoadScene(n);
    Settle();
  }
  // Loads a scene and lets its cover go, as a player waits before clicking; the log
  // starts afresh.
  void EnterScene(int16_t n) {
    LoadScene(n);
    loop_.PassTime(100);
    ClearLog();
  }
  void SetFlag(int16_t flag, int16_t value) {
    game_.engine.ChangeFlag(flag, value, 0);
    Settle();
  }

  // Every notify-log line since the last ClearLog (also lines of an unloaded window).
  const std::vector<std::string>& Lines() const { return all_lines_; }
  bool Called(const std::string& call) const { return Count(movies_.calls(), call) > 0; }
  // A call that reached the sound device ("Play(16, door.wav, False, 0, 0)").
  bool Played(const std::string& call) const { return Count(audio_.calls(), call) > 0; }
  // How often `text` is in `texts`: a log line, a stand-in call or a sound device call.
  static long Count(const std::vector<std::string>& texts, const std::string& text) {
    return std::count(texts.begin(), texts.end(), text);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : backend_->headless_boxes().shown())
      texts.push_back(box.text);
    return texts;
  }
  void ClearLog() {
    all_lines_.clear();
    movies_.ClearCalls();
    audio_.ClearCalls();
  }

 private:
  static const std::filesystem::path& Build(const TempDir& dir, const std::string& json) {
    tools::BuildGame(tools::ParseGameJson(json), dir.path());
    // Every quoted name without a folder that ends in .wav, .mid or .mp3 (any case).
    static const std::regex kSound(R"re("([^"/\\]*\.(wav|mid|mp3))")re", std::regex::icase);
    for (std::sregex_iterator it(json.begin(), json.end(), kSound), end; it != end; ++it) {
      std::string ext = (*it)[2];
      for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      dir.Write("resource/mmedia/" + (*it)[1].str(), ext == "wav"   ? SilentWav()
                                                     : ext == "mid" ? OneNoteMidi()
                                                                    : std::vector<uint8_t>{});
    }
    return dir.path();
  }

  TempDir dir_;
  std::unique_ptr<platform::HeadlessBackend> backend_;
  platform::EventLoop loop_;
  ui::Desktop desktop_;
  platform::PictureFiles pictures_;
  data::GameFolder folder_;
  data::SceneData data_;
  screen::GameScreen screen_;
  diag::NotifyLog log_;
  platform::RecordingAudio audio_;
  shell::FixedDisplay display_{800, 600};
  shell::SimulatedDrive drive_;
  platform::MemoryBudget budget_;
  std::unique_ptr<platform::MoviePlayer> movie_player_;
  RecordingMovies movies_;
  app::GameParts game_;
  std::vector<std::string> all_lines_;
};

}  // namespace qv::testing
