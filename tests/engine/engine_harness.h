#pragma once
// A headless player for engine scenarios: a game built from JSON, the game screen, the
// notify log, the recording stand-ins and the engine, on the virtual clock.

#include <memory>
#include <string>
#include <vector>

#include "data/game_folder.h"
#include "data/scene_data.h"
#include "diag/notify_log.h"
#include "engine/engine.h"
#include "engine/stand_ins.h"
#include "platform/event_loop.h"
#include "platform/headless/headless_backend.h"
#include "platform/pictures/picture_files.h"
#include "screen/game_screen.h"
#include "test_support.h"
#include "tools/game_json.h"
#include "ui/desktop.h"

namespace qv::testing {

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
        stand_ins_(screen_),
        engine_(engine::EngineServices{loop_, backend_->headless_boxes(), data_, pictures_, screen_,
                                       log_, stand_ins_, stand_ins_, stand_ins_, stand_ins_,
                                       stand_ins_, stand_ins_, stand_ins_, stand_ins_}) {
    stand_ins_.AttachState(engine_.state);
    log_.SetListener([this](std::string_view line) { all_lines_.emplace_back(line); });
    data_.OpenSceneBase();
    data_.OpenConvBase();
    engine_.state.VerboseLog = true;
    screen_.Main().Show();
  }

  engine::Engine& engine() { return engine_; }
  engine::GameState& state() { return engine_.state; }
  data::SceneTables& scene() { return data_.scene; }
  screen::GameScreen& screen() { return screen_; }
  diag::NotifyLog& log() { return log_; }
  engine::StandIns& calls() { return stand_ins_; }
  platform::EventLoop& loop() { return loop_; }
  platform::HeadlessBackend& backend() { return *backend_; }
  platform::PictureFiles& pictures() { return pictures_; }
  const TempDir& dir() const { return dir_; }

  // Lets everything pending at the current time run.
  void Settle() {
    for (int i = 0; i < 1000 && !loop_.Idle(); ++i) loop_.DoEvents();
  }
  void LoadScene(int16_t n) {
    engine_.LoadScene(n);
    Settle();
  }
  void SetFlag(int16_t flag, int16_t value) {
    engine_.ChangeFlag(flag, value, 0);
    Settle();
  }

  // Every notify-log line since the last ClearLog (also lines of an unloaded window).
  const std::vector<std::string>& Lines() const { return all_lines_; }
  bool HasLine(const std::string& line) const {
    for (const auto& l : all_lines_) {
      if (l == line) return true;
    }
    return false;
  }
  bool Called(const std::string& call) const {
    for (const auto& c : stand_ins_.calls()) {
      if (c == call) return true;
    }
    return false;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : backend_->headless_boxes().shown()) texts.push_back(box.text);
    return texts;
  }
  void ClearLog() {
    all_lines_.clear();
    stand_ins_.ClearCalls();
  }

 private:
  static const std::filesystem::path& Build(const TempDir& dir, const std::string& json) {
    tools::BuildGame(tools::ParseGameJson(json), dir.path());
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
  engine::StandIns stand_ins_;
  engine::Engine engine_;
  std::vector<std::string> all_lines_;
};

}  // namespace qv::testing
