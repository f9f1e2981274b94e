#pragma once
// The 20 sound channels as the game uses them: object and link sounds, conversation
// lines, button clicks, looping ambience and a WAV soundtrack, each on its numbered
// channel (1-13 game sounds, 14 a persistent sound, 15 dialogue, 16 entering and leaving,
// 17 the scene's loop, 18 buttons, 19 the soundtrack, 20 responders that switch scene).
// Sound files live in the game's resource\mmedia\ folder.
//
// A game sound asked for with PlayWav first gives the scene's responders a chance: when
// one waits for that very file name, it is marked as requested, the hidden-object rules
// run, and the sound itself does not play.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "data/game_folder.h"
#include "engine/collaborators.h"
#include "platform/audio.h"
#include "platform/event_loop.h"

namespace qv::engine {
class Engine;
}

namespace qv::media {

// The channel of a WAV soundtrack.
inline constexpr int16_t kSoundtrackChannel = 19;

class SoundChannels : public engine::SoundPort {
 public:
  SoundChannels(platform::EventLoop& loop, MessageBoxService& boxes, const data::GameFolder& folder,
                platform::AudioDevice& audio);

  // The engine whose responders watch for sounds (the engine is built after the sound
  // channels, which it calls).
  void AttachEngine(engine::Engine& engine) { engine_ = &engine; }

  // A game sound: responders watching the name react instead of it playing. Channels 14
  // and above play through PlayWAVQVX.
  void PlayWav(const std::string& name, bool loop, int16_t channel, int32_t pan,
               int32_t volume) override;
  // Plays `name` on the channel, replacing what played there. A failure shows the
  // "Error playing WAV file." box and the game goes on.
  void PlayWAVQVX(const std::string& name, bool loop, int16_t channel, int32_t pan,
                  int32_t volume) override;
  // Stops one channel (harmless when it is idle).
  void StopWav(int16_t channel) override;
  // The volume of the WAV soundtrack on channel 19.
  void SetSoundtrackWavVolume(int32_t volume);
  // Silences every channel (the exit sequence).
  void StopSoundControl();

  // The real file of a sound the game names: resource\mmedia\ + name in the game folder.
  // Names that would leave the game folder raise "Bad file name or number" (52).
  std::filesystem::path SoundFile(std::string_view name) const;
  // That folder as messages show it, ending in a separator.
  std::string MediaFolderText() const;

  platform::AudioDevice& audio() { return audio_; }
  const platform::AudioDevice& audio() const { return audio_; }

 private:
  void Play(const std::string& name, bool loop, int16_t channel, int32_t pan, int32_t volume,
            std::string_view channel_label);

  platform::EventLoop& loop_;
  MessageBoxService& boxes_;
  const data::GameFolder& folder_;
  platform::AudioDevice& audio_;
  engine::Engine* engine_ = nullptr;
};

// The folder of sounds and movies in a game, as game data names it.
inline constexpr std::string_view kMediaFolder = "resource\\mmedia\\";

}  // namespace qv::media
