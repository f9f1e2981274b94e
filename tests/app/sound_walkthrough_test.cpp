// Walkthrough scripts about what the player hears: the scene's soundtrack and looping
// sound on their channels, the music switch on F1, soundtracks named again in another
// letter case, "(stop sndtrk)", and a sound file that is missing.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/state_json.h"
#include "app/walkthrough_fixture.h"
#include "platform/headless/recording_audio.h"
#include "sound/wav_writer.h"
#include "tools/game_json.h"

namespace qv::app {
namespace {

class SoundWalkthrough : public WalkthroughTest {
 protected:
  // Scene 1: soundtrack Theme.wav at -500 and wind.wav looping. Scene 2: the same
  // soundtrack named in capitals. Scene 3: the soundtrack stopped, an entry sound that
  // does not exist.
  SoundWalkthrough() {
    tools::BuildGame(tools::ParseGameJson(R"json({"Scenes": [
      {"SoundtrackFile": "Theme.wav", "SoundtrackVolume": -500, "EntrySoundB": "wind.wav"},
      {"SoundtrackFile": "THEME.WAV", "SoundtrackVolume": -500},
      {"SoundtrackFile": "(STOP SNDTRK)", "EntrySoundA": "missing.wav"}]})json"),
                     dir_.path());
    for (const char* name : {"Theme.wav", "wind.wav"}) {
      dir_.Write(std::string("resource/mmedia/") + name, qv::testing::SilentWav());
    }
  }

  // How often the recording device was asked to play on a channel.
  int PlaysOn(int channel) const {
    const auto& audio = dynamic_cast<const platform::RecordingAudio&>(player_->audio());
    const std::string prefix = "Play(" + std::to_string(channel) + ", ";
    return static_cast<int>(
        std::count_if(audio.calls().begin(), audio.calls().end(),
                      [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
  }
};

TEST_F(SoundWalkthrough, F1SwitchesTheSoundtrackOffAndOnAndTheStateJsonKeepsItsName) {
  EXPECT_EQ(Run(R"(
new-game
expect soundtrack "theme.wav"
expect sound 17 "wind.wav"
key F1
expect silent 19
expect soundtrack "Theme.wav"
expect sound 17 "wind.wav"
key x
key F2
expect silent 19
key F1
expect sound 19 "Theme.wav"
)"),
            "");
  EXPECT_EQ(PlaysOn(19), 2) << "played on entering, and again when switched on";
  const auto state = StateJson(*player_);
  EXPECT_EQ(state["soundtrack"], "Theme.wav");
  EXPECT_EQ(state["channels"]["17"]["file"], "wind.wav");
  EXPECT_EQ(state["channels"]["17"]["loop"], true);
  EXPECT_EQ(state["channels"]["19"]["file"], "Theme.wav");
  EXPECT_EQ(state["channels"].size(), 2u);
}

TEST_F(SoundWalkthrough, ANameInAnotherCaseRestartsNothingAndStopSndtrkStopsIt) {
  EXPECT_EQ(Run(R"(
new-game
scene 2
expect soundtrack "Theme.wav"
expect sound 19 "Theme.wav"
expect silent 17
scene 3
expect soundtrack ""
expect silent 19
expect message "Error playing WAV file.  File 'missing.wav' - Channel16 - Pan0 - Vol0\rErr #53 : File not found"
)"),
            "");
  EXPECT_EQ(PlaysOn(19), 1);
}

}  // namespace
}  // namespace qv::app
