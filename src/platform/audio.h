#pragma once
// Sound output as the game asks for it: 20 numbered channels, each playing one WAV sound
// (once, or looping until stopped) with its own pan and volume, and one music stream
// playing a MIDI or an MP3 piece. The game's numbers are DirectSound's and pass through
// unchanged: volume in hundredths of a decibel (0 full, -10000 silent), pan from -10000
// (left only) to 10000 (right only), the far side attenuated by |pan| hundredths of a
// decibel.
//
// Two devices implement it: the SDL2_mixer device of players with a window
// (sdl/sdl_mixer_audio.h) and the recording device of headless runs
// (headless/recording_audio.h). Both keep the same record of what each channel and the
// music were asked to do, and both fail the same way on a file they cannot play:
// VbError 53 (missing), 321 (not a sound they can play), 9 (a channel outside 1..20).

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace qv::platform {

class MemoryBudget;

inline constexpr int kSoundChannelCount = 20;
inline constexpr int32_t kSilentVolume = -10000;
inline constexpr int32_t kFullVolume = 0;

// The linear gain of a volume in hundredths of a decibel: 10^(volume / 2000). Above 0
// counts as 0 (full), at or below -10000 as silence (exactly 0).
double VolumeGain(int32_t volume);

struct StereoGains {
  double left = 1.0;
  double right = 1.0;
};

// The gains of the two sides for a pan and a volume: the volume applies to both, the pan
// attenuates the far side (pan below 0 the right, above 0 the left) by |pan| hundredths
// of a decibel; beyond ±10000 the far side is silent.
StereoGains ChannelGains(int32_t pan, int32_t volume);

enum class MusicKind { kNone, kMidi, kMp3 };

// What a channel was last asked to play.
struct SoundChannelState {
  std::string file;  // the sound as the game named it
  bool loop = false;
  int32_t pan = 0;
  int32_t volume = 0;
  bool playing = false;  // asked to play and not stopped since
};

// The music stream: the piece loaded (kind kNone when none) and whether it was started.
struct MusicState {
  MusicKind kind = MusicKind::kNone;
  std::string file;  // the piece as the game named it
  bool loop = false;
  int32_t volume = 0;
  bool running = false;  // started and not stopped since (it may have reached its end)
};

// The sound of a movie while it plays: fed by the movie's decoder, pulled by the sound
// output beside the 20 channels and the music.
class SoundStream {
 public:
  virtual ~SoundStream() = default;
  // Called on the sound output's own thread: fills up to `frames` frames of 16-bit stereo
  // at the mixing rate and returns how many it had; the rest of the buffer stays as it
  // is. Must not block.
  virtual size_t Pull(int16_t* out, size_t frames) = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // Decoded sounds count against `budget` from now on (it must outlive the device).
  virtual void UseMemoryBudget(MemoryBudget& budget) { (void)budget; }

  // ---- the 20 channels
  // Loads `file` (a WAV; decoded once and kept while memory allows) and starts it on the
  // channel with its pan and volume, replacing what the channel played; a looping sound
  // plays until stopped. A file that fails leaves the channel as it was. `name` is how
  // the game named the sound, for the record.
  void Play(int channel, const std::string& name, const std::filesystem::path& file, bool loop,
            int32_t pan, int32_t volume);
  // Apply to the sound now on the channel (and to nothing when it is idle).
  void SetPan(int channel, int32_t pan);
  void SetVolume(int channel, int32_t volume);
  // Silences a channel; harmless when it is idle (or not a channel at all).
  void Stop(int channel);
  // Silences every channel and releases the sounds kept in memory.
  void StopAll();
  // The record of channel 1..20 (VbError 9 for others).
  const SoundChannelState& channel(int channel) const;

  // ---- the music stream
  // Loads a MIDI or MP3 piece and starts it from the beginning at `volume`, replacing any
  // piece loaded before; a looping piece repeats without end, any other plays once.
  void PlayMusic(MusicKind kind, const std::string& name, const std::filesystem::path& file,
                 int32_t volume, bool loop);
  // Stops the piece and sets it back to its beginning; it stays loaded.
  void StopMusic();
  // Plays the loaded piece again from its beginning.
  void RestartMusic();
  void SetMusicVolume(int32_t volume);
  // Stops and unloads the piece.
  void ReleaseMusic();
  // True when the piece was started, not stopped, and has played to its end.
  bool MusicEnded() const;
  const MusicState& music() const { return music_; }

  // ---- the movie's sound: one stream at a time, at the player's own volume
  // Mixes `stream` in from now on, in place of any stream before it.
  void PlayStream(std::shared_ptr<SoundStream> stream);
  // Once this returns, the stream is no longer pulled. Given a stream, only when that one
  // is the stream playing (a movie that ends does not silence the one after it).
  void StopStream(const SoundStream* only = nullptr);
  bool stream_playing() const { return stream_ != nullptr; }

  // ---- the player's own volume, over everything the game plays
  // A gain from 0 (silence) to 1 (the game's own volumes) applied to every channel and
  // the music, now and from now on. What the game asked for is kept unchanged.
  void SetMasterGain(double gain);
  double master_gain() const { return master_gain_; }

  // ---- the output itself
  // Called now and then by the player (every kIdleCheckMs). A device that keeps a sound
  // output busy while nothing plays may let it go here, and takes it again for the next
  // sound; recording devices have nothing to let go.
  static constexpr int32_t kIdleCheckMs = 5000;
  virtual void ReleaseIdleOutput() {}

 protected:
  // The device's own work, given what is asked (in the game's numbers) and the gains
  // that follow from it. Each may throw VbError; DoPlay and DoPlayMusic must throw before
  // they disturb what plays now.
  virtual void DoPlay(int channel, const SoundChannelState& wanted,
                      const std::filesystem::path& file, StereoGains gains) = 0;
  virtual void DoSetGains(int channel, const SoundChannelState& wanted, StereoGains gains) = 0;
  virtual void DoStop(int channel) = 0;
  virtual void DoStopAll() = 0;
  virtual void DoPlayMusic(const MusicState& wanted, const std::filesystem::path& file,
                           double gain) = 0;
  virtual void DoStopMusic() = 0;
  virtual void DoRestartMusic() = 0;
  virtual void DoSetMusicGain(int32_t volume, double gain) = 0;
  virtual void DoReleaseMusic() = 0;
  virtual bool DoMusicEnded() const = 0;
  // A device without sound output pulls nothing.
  virtual void DoPlayStream(std::shared_ptr<SoundStream> stream, double gain) {
    (void)stream;
    (void)gain;
  }
  virtual void DoStopStream() {}
  virtual void DoSetStreamGain(double gain) { (void)gain; }

 private:
  SoundChannelState& Checked(int channel);

  std::array<SoundChannelState, kSoundChannelCount + 1> channels_{};  // element 0 unused
  MusicState music_;
  double master_gain_ = 1.0;
  const SoundStream* stream_ = nullptr;  // the stream playing
};

}  // namespace qv::platform
