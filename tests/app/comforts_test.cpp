// The player's own settings and commands: the command line and its mistakes; the config
// file round-trips, a broken one is reported, kept aside and replaced by the settings in
// use; the command line wins over it; the commands change the volume, the window and the
// scaling, say so on the message line and write the settings back.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/comforts.h"
#include "app/command_line.h"
#include "app/player_config.h"
#include "walkthrough_fixture.h"

namespace qv::app {
namespace {

using platform::PlayerCommand;
using platform::Scaling;

std::string UsageErrorOf(const std::vector<std::string>& args) {
  try {
    ParseCommandLine(args);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(CommandLineTest, OptionsTakeTheirValueAfterABlankOrAnEqualsSignAndAScriptPlaysHeadless) {
  Options o = ParseCommandLine({"--script", "walk.qvs", "--state-json=out.json", "--screen",
                                "1024x768", "--memory-budget=256", "games/x"});
  EXPECT_EQ(o.script, "walk.qvs");
  EXPECT_EQ(o.state_json, "out.json");
  EXPECT_EQ(o.screen_width, 1024);
  EXPECT_EQ(o.screen_height, 768);
  EXPECT_EQ(o.memory_budget_mb, 256u);
  EXPECT_EQ(o.game_dir, "games/x");
  EXPECT_EQ(ParseCommandLine({"--", "--odd-folder"}).game_dir, "--odd-folder");

  // A script plays headless unless a window is asked for.
  EXPECT_TRUE(ParseCommandLine({"--script", "w"}).headless);
  EXPECT_FALSE(ParseCommandLine({"--script", "w", "--window"}).headless);
  Options full = ParseCommandLine({"--script", "w", "--fullscreen"});
  EXPECT_FALSE(full.headless);
  EXPECT_TRUE(full.fullscreen);
}

TEST(CommandLineTest, BadUsageIsExplained) {
  EXPECT_EQ(UsageErrorOf({"--frobnicate"}), "unknown option --frobnicate");
  EXPECT_EQ(UsageErrorOf({"--script"}), "--script needs a value");
  EXPECT_EQ(UsageErrorOf({"--log="}), "--log needs a value");
  EXPECT_EQ(UsageErrorOf({"--headless=yes"}), "--headless takes no value");
  EXPECT_EQ(UsageErrorOf({"a", "b"}), "only one GAME_DIR may be given (\"a\" and \"b\")");
  EXPECT_EQ(UsageErrorOf({"--window", "--fullscreen"}),
            "--window and --fullscreen exclude each other");
  EXPECT_EQ(UsageErrorOf({"--headless", "--window"}), "--headless and --window exclude each other");
  for (const char* screen : {"800x", "0x600", "800x600x2", "99999x600", "8OOx600"}) {
    EXPECT_NE(UsageErrorOf({"--screen", screen}).find("--screen takes WIDTHxHEIGHT"),
              std::string::npos)
        << screen;
  }
  for (const char* mb : {"15", "65537", "-5", "512MB"}) {
    EXPECT_NE(UsageErrorOf({"--memory-budget", mb}).find("--memory-budget takes"),
              std::string::npos)
        << mb;
  }
}

TEST(PlayerConfigTest, RoundTripsAndABrokenFileIsReportedKeptAsideAndReplaced) {
  qv::testing::TempDir dir;
  const auto file = dir.path() / "quorvex-player" / "config.json";
  PlayerConfig changed;
  changed.fullscreen = true;
  changed.scaling = Scaling::kStretch;
  changed.master_volume = 40;
  changed.mute = true;
  changed.soundfont = "/usr/share/sounds/sf2/other.sf2";
  changed.memory_budget_mib = 256;
  changed.renderer = "opengl";
  changed.confine_mouse = false;
  SaveConfig(changed, file);  // makes the folder
  LoadedConfig loaded = LoadConfig(file);
  EXPECT_TRUE(loaded.existed);
  EXPECT_TRUE(loaded.problems.empty());
  EXPECT_EQ(loaded.config, changed);
  EXPECT_FALSE(LoadConfig(dir.path() / "none.json").existed);

  // Bad values fall back one by one; the rest is kept.
  loaded = ParseConfig(R"({"master_volume": 250, "scaling": "blurry", "mute": "yes",
                           "renderer": "software", "volume": 3})");
  EXPECT_EQ(loaded.problems.size(), 4u);
  EXPECT_EQ(loaded.config.master_volume, 100);
  EXPECT_EQ(loaded.config.scaling, Scaling::kSmooth);
  EXPECT_FALSE(loaded.config.mute);
  EXPECT_EQ(loaded.config.renderer, "software");

  // A file that is not readable at all: the defaults, written in its place.
  std::ofstream(file) << "{\"fullscreen\": tru";
  std::vector<std::string> reports;
  const PlayerConfig repaired =
      LoadOrRepairConfig(file, [&](const std::string& line) { reports.push_back(line); });
  EXPECT_EQ(repaired, PlayerConfig{});
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].find("it is not readable"), std::string::npos) << reports[0];
  EXPECT_EQ(qv::testing::ReadText(file.string() + ".broken"), "{\"fullscreen\": tru");
  EXPECT_TRUE(LoadConfig(file).problems.empty());
  EXPECT_EQ(LoadConfig(file).config, PlayerConfig{});
}

TEST(PlayerConfigTest, TheCommandLineWinsForThisRun) {
  PlayerConfig config;
  config.fullscreen = true;
  config.renderer = "software";
  config.memory_budget_mib = 300;
  config.soundfont = "a.sf2";
  Options options =
      ParseCommandLine({"--window", "--renderer=opengl", "--scaling", "integer", "--config", "c"});
  ApplyConfig(options, config);
  EXPECT_FALSE(options.fullscreen);
  EXPECT_EQ(options.renderer, "opengl");
  EXPECT_EQ(options.scaling, Scaling::kInteger);
  EXPECT_EQ(options.memory_budget_mb, 300u);
  EXPECT_EQ(options.soundfont, "a.sf2");
  EXPECT_EQ(options.config_file, "c");
  Options plain = ParseCommandLine({"--memory-budget", "64"});
  ApplyConfig(plain, config);
  EXPECT_TRUE(plain.fullscreen);
  EXPECT_EQ(plain.memory_budget_mb, 64u);
  EXPECT_THROW(ParseCommandLine({"--memory-budget", "8"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--scaling", "blurry"}), UsageError);
}

class ComfortsTest : public WalkthroughTest {
 protected:
  void Command(PlayerCommand command) {
    platform::InputEvent event;
    event.kind = platform::InputEvent::Kind::kCommand;
    event.command = command;
    player_->backend().InjectInput(event);
    player_->loop().DoEvents();
  }
  std::string MessageLine() { return player_->screen().Msg->Caption(); }
};

TEST_F(ComfortsTest, CommandsChangeTheSettingsSaySoAndWriteThemBack) {
  Player& player = MakePlayer();
  PlayerConfig config;
  config.master_volume = 50;
  int saves = 0;
  std::vector<std::string> reports;
  Comforts comforts(
      player, config, [&] { ++saves; }, [&](const std::string& line) { reports.push_back(line); });
  comforts.Install();
  EXPECT_DOUBLE_EQ(player.audio().master_gain(), 0.25);

  Command(PlayerCommand::kToggleMute);
  EXPECT_EQ(player.audio().master_gain(), 0.0);
  EXPECT_EQ(MessageLine(), "Sound off");
  Command(PlayerCommand::kVolumeUp);  // also turns the sound back on
  EXPECT_FALSE(config.mute);
  EXPECT_EQ(config.master_volume, 60);
  EXPECT_DOUBLE_EQ(player.audio().master_gain(), 0.36);
  EXPECT_EQ(MessageLine(), "Volume 60 %");
  for (int i = 0; i < 8; ++i)
    Command(PlayerCommand::kVolumeDown);
  EXPECT_EQ(config.master_volume, 0) << "never below silence";

  auto& backend = static_cast<platform::HeadlessBackend&>(player.backend());
  Command(PlayerCommand::kToggleScaling);
  EXPECT_EQ(backend.scaling(), Scaling::kInteger);
  EXPECT_EQ(config.scaling, Scaling::kInteger);
  EXPECT_EQ(MessageLine(), "Scaling: pixel-perfect");
  Command(PlayerCommand::kToggleFullscreen);
  EXPECT_TRUE(backend.fullscreen());
  EXPECT_TRUE(config.fullscreen);
  EXPECT_EQ(saves, 12);

  Command(PlayerCommand::kScreenshot);  // headless: no pixels to save
  EXPECT_EQ(MessageLine(), "No screenshot: nothing is drawn");
  EXPECT_EQ(saves, 12);
}

}  // namespace
}  // namespace qv::app
