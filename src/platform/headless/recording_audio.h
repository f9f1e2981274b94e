#pragma once
// The sound device of headless runs: nothing is heard, but every request is checked and
// recorded. Sounds are read and decoded exactly as the SDL2_mixer device does (through
// the same cache), and music is opened by the same readers (FluidSynth's check of MIDI
// files, mpg123's decoding of MP3 files), so a missing, truncated or foreign file fails
// here as it would there. What each channel and the music were asked to do is kept by
// AudioDevice; the calls themselves are kept in order for tests.

#include <functional>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/sound_files.h"

namespace qv::platform {

class RecordingAudio : public AudioDevice {
 public:
  // Every call that reached the device, in order: "Play(16, door.wav, False, 0, -300)",
  // "SetGains(19, 0, -800)" (pan, volume), "Stop(4)" (only for a channel that plays),
  // "StopAll()", "PlayMusic(MP3, theme.mp3, -500, False)", "StopMusic()",
  // "RestartMusic()", "SetMusicVolume(-200)", "ReleaseMusic()".
  const std::vector<std::string>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Called with each call as it is recorded (tests look at the game at that moment).
  std::function<void(const std::string&)> on_call;

  // Headless music makes no sound and so has no length: a test says when the piece
  // reaches its end.
  void EndMusic() { music_ended_ = true; }

  void UseMemoryBudget(MemoryBudget& budget) override { cache_.UseMemoryBudget(budget); }

 private:
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
  bool DoMusicEnded() const override { return music_ended_; }

  void Record(std::string call);

  SoundCache cache_;
  std::vector<std::string> calls_;
  bool music_ended_ = false;
};

}  // namespace qv::platform
