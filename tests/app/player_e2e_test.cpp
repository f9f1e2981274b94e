// The quorvex-player program, run as a game author or CI runs it: on fixture games built
// from JSON, with walkthrough scripts, checking exit status, output and the state JSON.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "test_support.h"
#include "tools/game_json.h"

namespace {

using qv::testing::ReadText;
using qv::testing::TempDir;
namespace fs = std::filesystem;

std::string Sh(const std::string& text) {
  std::string out = "'";
  for (char c : text)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class PlayerProgramTest : public ::testing::Test {
 protected:
  PlayerProgramTest() {
    game_ = dir_.path() / "game";
    qv::tools::BuildGame(qv::tools::ParseGameJson(R"({
      "General": [{"GameTitle": "Fixture"}],
      "Scenes": [{"ScenePicture": "a.bmp"}]
    })"),
                         game_);
  }

  // Runs the player with the arguments (each one quoted for the shell).
  Outcome Player(const std::vector<std::string>& args) {
    // Windows open on SDL's dummy drivers: nothing shows, nothing plays.
    std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + Sh(QV_PLAYER_BINARY);
    for (const auto& arg : args)
      command += " " + Sh(arg);
    const fs::path out = dir_.path() / "stdout", err = dir_.path() / "stderr",
                   status = dir_.path() / "status";
    command += " >" + Sh(out.string()) + " 2>" + Sh(err.string()) + " </dev/null; echo $? >" +
               Sh(status.string());
    EXPECT_EQ(std::system(command.c_str()), 0);
    return {std::stoi(ReadText(status)), ReadText(out), ReadText(err)};
  }

  fs::path Script(const std::string& text) { return dir_.Write("walk.qvs", text); }

  // A scene file the game cannot open: a folder in its place.
  void BreakSceneFile() {
    fs::remove(game_ / "resource/Quorvex1.dat");
    fs::create_directory(game_ / "resource/Quorvex1.dat");
  }

  TempDir dir_;
  fs::path game_;
};

const char kSceneBoxText[] =
    "Unexpected error in procedure: OpenSceneBase\r\nError #75: Path/File access error";
// The same box as a line of output.
const char kSceneBoxLine[] =
    "[MessageBox] Quorvex Player: Unexpected error in procedure: OpenSceneBase\\r\\n"
    "Error #75: Path/File access error";

TEST_F(PlayerProgramTest, ABadScriptStopsBeforeAnythingRuns) {
  const fs::path state = dir_.path() / "state.json";
  Outcome unknown = Player({"--script", Script("wait 5\njump 3\nwait x\n").string(), "--state-json",
                            state.string(), game_.string()});
  EXPECT_EQ(unknown.status, 2);
  const std::string name = (dir_.path() / "walk.qvs").string();
  EXPECT_NE(unknown.err.find(name + ":2: unknown command \"jump\""), std::string::npos)
      << unknown.err;
  EXPECT_NE(unknown.err.find(name + ":3: MS must be a number"), std::string::npos);
  EXPECT_FALSE(fs::exists(state)) << "nothing ran";

  for (const fs::path& unreadable : {dir_.path() / "nope.qvs", dir_.path()}) {
    Outcome missing = Player({"--script", unreadable.string(), game_.string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read the script"), std::string::npos) << unreadable;
  }
}

TEST_F(PlayerProgramTest, ABoxGoesToTheErrorOutputTheLogAndTheStateJsonAndExpectMessageSeesIt) {
  BreakSceneFile();
  const fs::path state_file = dir_.path() / "state.json";
  Outcome run =
      Player({"--script", Script("wait 10\nexpect message \"OpenLocBase\"\nwait 10\n").string(),
              "--state-json", state_file.string(), "--log", "-", game_.string()});
  EXPECT_EQ(run.status, 1);
  const std::string name = (dir_.path() / "walk.qvs").string();
  EXPECT_EQ(run.err, kSceneBoxLine + ("\n" + name) +
                         ":2: expect message \"OpenLocBase\" failed\n  found: " + kSceneBoxLine +
                         "\n")
      << "headless, the box is printed where it would have shown";
  EXPECT_EQ(run.out, std::string("Display 800 x 600: left as it is.\n") + kSceneBoxLine + "\n");
  auto state = nlohmann::json::parse(ReadText(state_file));
  EXPECT_EQ(state["scene"], 0);
  ASSERT_EQ(state["messages"].size(), 1u);
  EXPECT_EQ(state["messages"][0]["title"], "Quorvex Player");
  EXPECT_EQ(state["messages"][0]["text"], kSceneBoxText);
}

TEST_F(PlayerProgramTest, OnlyAFolderWithAResourceFolderIsAGame) {
  const fs::path empty = dir_.path() / "empty";
  fs::create_directories(empty);
  Outcome not_game = Player({"--headless", empty.string()});
  EXPECT_EQ(not_game.status, 2);
  EXPECT_NE(not_game.err.find("is not a game folder"), std::string::npos) << not_game.err;

  Outcome missing = Player({"--headless", (dir_.path() / "nowhere").string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;

  fs::rename(game_ / "resource", game_ / "RESOURCE");
  Outcome upper = Player({"--headless", "--state-json", "-", game_.string()});
  EXPECT_EQ(upper.status, 0) << upper.err;
  EXPECT_EQ(nlohmann::json::parse(upper.out)["messages"].size(), 0u)
      << "the files are found in any letter case";
}

TEST_F(PlayerProgramTest, WithoutAGameFolderTheDemoGamePlays) {
  Outcome run = Player({"--headless", "--state-json", "-"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["messages"].size(), 0u) << run.out;
}

}  // namespace
