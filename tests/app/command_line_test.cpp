#include "app/command_line.h"

#include <gtest/gtest.h>

namespace qv::app {
namespace {

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

}  // namespace
}  // namespace qv::app
