#pragma once
// The base of walkthrough tests: a fixture game in a temporary folder, played by a
// headless player that runs a script to its end, as `quorvex-player --script` does.

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "app/player.h"
#include "app/script_commands.h"
#include "app/script_runner.h"
#include "platform/headless/headless_backend.h"
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

  qv::testing::TempDir dir_;
  CommandTable table_ = MakeCommandTable();
  std::optional<Player> player_;
  int status_ = -1;
};

}  // namespace qv::app
