#pragma once
// Scenarios of the player as a whole: a fixture game whose general settings a test
// writes, played by a headless player from start-up on, through walkthrough scripts.

#include <string>
#include <vector>

#include "app/walkthrough_fixture.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::testing {

class ShellTest : public app::WalkthroughTest {
 protected:
  // A game of three scenes with `general` as its settings record (JSON fields), and the
  // sounds it names as silent WAV files. Unless `general` says otherwise, the five menu
  // buttons and the game screen's main-menu button are shown.
  void Game(std::string general, const std::string& scenes = "[{}, {}, {}]") {
    for (std::string shown :
         {R"("MenuButtonShown": [1, 1, 1, 1, 1])", R"("MainMenuButtonShown": 1)"}) {
      if (general.find(shown.substr(0, shown.find(':'))) != std::string::npos) continue;
      const bool empty = general.find_first_not_of("{} ") == std::string::npos;
      general.insert(general.find('{') + 1, shown + (empty ? "" : ", "));
    }
    tools::BuildGame(
        tools::ParseGameJson(R"({"General": [)" + general + R"(], "Scenes": )" + scenes + "}"),
        dir_.path());
    for (const char* name : {"click.wav", "hover.wav", "menu.wav"})
      dir_.Write(std::string("resource/mmedia/") + name, SilentWav());
    dir_.Write("resource/mmedia/menu.mid", OneNoteMidi());
  }
};

}  // namespace qv::testing
