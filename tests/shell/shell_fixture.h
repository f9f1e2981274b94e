#pragma once
// Scenarios of the player as a whole: a fixture game whose general settings a test
// writes, played by a headless player from start-up on, through walkthrough scripts.

#include <string>
#include <vector>

#include "app/walkthrough_fixture.h"
#include "platform/headless/recording_audio.h"
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

  platform::RecordingAudio& Audio() {
    return dynamic_cast<platform::RecordingAudio&>(player_->audio());
  }
  // How many times the device was asked to play `file` on `channel`.
  long Plays(int channel, const std::string& file) {
    long n = 0;
    const std::string start = "Play(" + std::to_string(channel) + ", " + file + ",";
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
};

}  // namespace qv::testing
