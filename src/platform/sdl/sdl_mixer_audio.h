#pragma once
// The sound device of players with a window, on SDL2_mixer: the 20 game channels are
// mixer channels 0..19, each with its pan and volume applied as exact gains; music is
// rendered into the mix by our own hook, and so is a movie's sound (MIDI through FluidSynth with a
// General MIDI soundfont, MP3 through mpg123, see music_files.h) at the music's exact gain. Sound
// is not tied to any window: it plays on whichever of the player's windows is active. Only one
// device can be open at a time (SDL2_mixer has one output). SDL stays out of this header.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/audio.h"

namespace qv::platform {

// The General MIDI soundfont the setup script installs.
inline constexpr const char* kDefaultSoundfont = "/usr/share/sounds/sf3/default-GM.sf3";

struct SdlAudioConfig {
  std::filesystem::path soundfont = kDefaultSoundfont;
};

class SdlMixerAudio : public AudioDevice {
 public:
  // Opens the audio output (SDL's choice of driver, SDL_AUDIODRIVER to choose another).
  // Throws std::runtime_error with SDL's reason when it cannot.
  explicit SdlMixerAudio(SdlAudioConfig config = {});
  ~SdlMixerAudio() override;
  SdlMixerAudio(const SdlMixerAudio&) = delete;
  SdlMixerAudio& operator=(const SdlMixerAudio&) = delete;

  void UseMemoryBudget(MemoryBudget& budget) override;
  // SDL mixes silence into the output for as long as it is open, waking every buffer:
  // after two idle checks in a row with nothing playing the output is closed, and the
  // next sound or piece opens it again.
  void ReleaseIdleOutput() override;
  bool output_open() const;
  // Decoded sounds kept in memory now.
  size_t cached_sounds() const;

 private:
  struct Impl;

  void DoPlay(int channel, const SoundChannelState& wanted, const std::filesystem::path& file,
              StereoGains gains) override;
  void DoSetGains(int channel, const SoundChannelState& wanted, StereoGains gains) override;
  void DoStop(int channel) override;
  void DoStopAll() override;
  void DoPlayMusic(const MusicState& wanted, const std::filesystem::path& file,
                   double gain) override;
  void DoStopMusic() override;
  void DoRestartMusic() override;
  void DoSetMusicGain(int32_t volume, double gain) override;
  void DoReleaseMusic() override;
  bool DoMusicEnded() const override;
  void DoPlayStream(std::shared_ptr<SoundStream> stream, double gain) override;
  void DoStopStream() override;
  void DoSetStreamGain(double gain) override;

  std::unique_ptr<Impl> impl_;
};

}  // namespace qv::platform
