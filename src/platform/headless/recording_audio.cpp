#include "platform/headless/recording_audio.h"

#include <utility>

#include "core/vb_error.h"
#include "platform/music_files.h"

namespace qv::platform {

namespace {

std::string Bool(bool b) {
  return b ? "True" : "False";
}

std::string KindName(MusicKind kind) {
  switch (kind) {
    case MusicKind::kMidi:
      return "MIDI";
    case MusicKind::kMp3:
      return "MP3";
    case MusicKind::kNone:
      break;
  }
  return "none";
}

}  // namespace

void RecordingAudio::Record(std::string call) {
  calls_.push_back(std::move(call));
  if (on_call) on_call(calls_.back());
}

void RecordingAudio::DoPlay(int channel, const SoundChannelState& wanted,
                            const std::filesystem::path& file, StereoGains) {
  // Decoded as the real device would, so that a bad file fails the same way.
  cache_.Load(file);
  Record("Play(" + std::to_string(channel) + ", " + wanted.file + ", " + Bool(wanted.loop) + ", " +
         std::to_string(wanted.pan) + ", " + std::to_string(wanted.volume) + ")");
}

void RecordingAudio::DoSetGains(int channel, const SoundChannelState& wanted, StereoGains) {
  Record("SetGains(" + std::to_string(channel) + ", " + std::to_string(wanted.pan) + ", " +
         std::to_string(wanted.volume) + ")");
}

void RecordingAudio::DoStop(int channel) {
  // Stops are many and uneventful: only stops of a channel that plays are recorded.
  if (this->channel(channel).playing) Record("Stop(" + std::to_string(channel) + ")");
}

void RecordingAudio::DoStopAll() {
  cache_.Clear();
  Record("StopAll()");
}

void RecordingAudio::DoPlayMusic(const MusicState& wanted, const std::filesystem::path& file,
                                 double) {
  // Read, checked and decoded as the real device does it.
  if (wanted.kind == MusicKind::kMidi) {
    CheckMidi(ReadSoundFile(file, kMaxMidiFileBytes));
  } else {
    OpenMp3(ReadSoundFile(file));
  }
  music_ended_ = false;
  Record("PlayMusic(" + KindName(wanted.kind) + ", " + wanted.file + ", " +
         std::to_string(wanted.volume) + ", " + Bool(wanted.loop) + ")");
}

void RecordingAudio::DoStopMusic() {
  music_ended_ = false;
  Record("StopMusic()");
}

void RecordingAudio::DoRestartMusic() {
  music_ended_ = false;
  Record("RestartMusic()");
}

void RecordingAudio::DoSetMusicGain(int32_t volume, double) {
  Record("SetMusicVolume(" + std::to_string(volume) + ")");
}

void RecordingAudio::DoReleaseMusic() {
  music_ended_ = false;
  Record("ReleaseMusic()");
}

}  // namespace qv::platform
