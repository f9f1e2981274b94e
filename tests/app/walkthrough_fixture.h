#pragma once
// The base of walkthrough tests: a fixture game in a temporary folder, played by a
// headless player that runs a script to its end, as `quorvex-player --script` does.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/player.h"
#include "app/script_commands.h"
#include "app/script_runner.h"
#include "app/state_json.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/recording_audio.h"
#include "test_support.h"

namespace qv::app {

class WalkthroughTest : public ::testing::Test {
 protected:
  // A new player on the fixture game.
  Player& MakePlayer(PlayerSettings settings = {}) {
    player_.emplace(std::make_unique<platform::HeadlessBackend>(), dir_.path(), settings);
    return *player_;
  }

  // Runs the script to its end on the current player, as the program does; returns its
  // report ("" when every expectation held) and keeps the exit status in status_.
  std::string RunScript(std::string_view text) {
    Script script = ParseScript(text, "walk.qvs", table_);
    EXPECT_TRUE(script.errors.empty()) << script.errors[0];
    EXPECT_TRUE(UnavailableCommands(script).empty());
    ScriptRunner runner(*player_, std::move(script));
    player_->loop().SetIdleUser(&runner);
    std::ostringstream err;
    status_ = RunToEnd(*player_, runner, err);
    player_->loop().SetIdleUser(nullptr);
    EXPECT_EQ(status_ == 0, err.str().empty()) << err.str();
    return err.str();
  }

  // The same on a new player.
  std::string Run(std::string_view text, bool verbose = true) {
    PlayerSettings settings;
    settings.verbose_log = verbose;
    MakePlayer(settings);
    return RunScript(text);
  }

  // A command for tests: runs `body` as the scripted user's action.
  void AddCommand(std::string name, std::function<void(Player&)> body) {
    table_.Add({std::move(name), {}, [body](ScriptContext& c, const ScriptCommand&) {
                  body(c.player());
                }});
  }
  std::string Window() { return StateJson(*player_)["window"]; }
  platform::RecordingAudio& Audio() {
    return dynamic_cast<platform::RecordingAudio&>(player_->audio());
  }
  // How many times the device was asked to play `file` (any file when "") on `channel`.
  long Plays(int channel, const std::string& file = "") {
    long n = 0;
    const std::string start =
        "Play(" + std::to_string(channel) + ", " + file + (file.empty() ? "" : ",");
    for (const auto& call : Audio().calls())
      n += call.rfind(start, 0) == 0 ? 1 : 0;
    return n;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : player_->messages())
      texts.push_back(box.text);
    return texts;
  }

  qv::testing::TempDir dir_;
  CommandTable table_ = MakeCommandTable();
  std::optional<Player> player_;
  int status_ = -1;
};

}  // namespace qv::app
