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
#include "platform/audio.h"
#include "platform/event_loop.h"

namespace qv::media {

// The scene's responders that wait for a game sound to be asked for.
class SoundWatchers {
 public:
  virtual ~SoundWatchers() = default;
  // Asked before a game sound plays: true when a responder waited for this very name;
  // it has reacted, and the sound does not play.
  virtual bool SoundRequested(const std::string& name) = 0;
};

// The channels with a fixed use; channels 1-13 belong to the scene's object slots.
inline constexpr int16_t kMenuMusicChannel = 11;
inline constexpr int16_t kInventoryChannel = 12;
inline constexpr int16_t kPersistentChannel = 14;
inline constexpr int16_t kDialogueChannel = 15;
inline constexpr int16_t kSceneChangeChannel = 16;  // entering and leaving a scene
inline constexpr int16_t kSceneLoopChannel = 17;
inline constexpr int16_t kButtonChannel = 18;
inline constexpr int16_t kSoundtrackChannel = 19;   // a WAV soundtrack
inline constexpr int16_t kSceneSwitchChannel = 20;  // responders that switch scene

class SoundChannels {
 public:
  SoundChannels(platform::EventLoop& loop, MessageBoxService& boxes, const data::GameFolder& folder,
                platform::AudioDevice& audio);

  // Who watches for game sounds (the engine's responders; built after the channels).
  void AttachWatchers(SoundWatchers& watchers) { watchers_ = &watchers; }

  // A game sound: responders watching the name react instead of it playing. Channels 14
  // and above play through PlayWAVQVX.
  void PlayWav(const std::string& name, bool loop, int16_t channel, int32_t pan, int32_t volume);
  // Plays `name` on the channel, replacing what played there. A failure shows the
  // "Error playing WAV file." box and the game goes on.
  void PlayWAVQVX(const std::string& name, bool loop, int16_t channel, int32_t pan, int32_t volume);
  // Stops one channel (harmless when it is idle).
  void StopWav(int16_t channel);
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
  SoundWatchers* watchers_ = nullptr;
};

// The folder of sounds and movies in a game, as game data names it.
inline constexpr std::string_view kMediaFolder = "resource\\mmedia\\";

}  // namespace qv::media
