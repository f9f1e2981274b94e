#include "media/sound_channels.h"

#include <exception>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"

namespace qv::media {

namespace {

// "Error playing WAV file.  File 'door.wav' - Ch5 - Pan0 - Vol-300" + the error.
auto PlayErrorFormat(const std::string& name, std::string_view label, int16_t channel, int32_t pan,
                     int32_t volume) {
  return [=, &name] {
    return ErrorBoxFormat{"Error playing WAV file.  File '" + name + "' - " + std::string(label) +
                              PlainNum(channel) + " - Pan" + PlainNum(pan) + " - Vol" +
                              PlainNum(volume),
                          "\rErr #",
                          false,
                          " : ",
                          "",
                          BoxIcon::kNone};
  };
}

}  // namespace

SoundChannels::SoundChannels(platform::EventLoop& loop, MessageBoxService& boxes,
                             const data::GameFolder& folder, platform::AudioDevice& audio)
    : loop_(loop), boxes_(boxes), folder_(folder), audio_(audio) {}

std::filesystem::path SoundChannels::SoundFile(std::string_view name) const {
  return folder_.Resolve(std::string(kMediaFolder) + std::string(name));
}

std::string SoundChannels::MediaFolderText() const {
  std::string text = folder_.Resolve(kMediaFolder).string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

void SoundChannels::PlayWav(const std::string& name, bool loop, int16_t channel, int32_t pan,
                            int32_t volume) {
  bool taken = false;
  // The rules that run for a watched sound fail as the sound's failure.
  const bool ok = RunReporting(boxes_, PlayErrorFormat(name, "Ch", channel, pan, volume), [&] {
    loop_.DoEvents();
    taken = watchers_ != nullptr && watchers_->SoundRequested(name);
  });
  if (!ok || taken) return;
  if (channel < kPersistentChannel) {
    Play(name, loop, channel, pan, volume, "Ch");
  } else {
    PlayWAVQVX(name, loop, channel, pan, volume);
  }
}

void SoundChannels::PlayWAVQVX(const std::string& name, bool loop, int16_t channel, int32_t pan,
                               int32_t volume) {
  Play(name, loop, channel, pan, volume, "Channel");
}

void SoundChannels::Play(const std::string& name, bool loop, int16_t channel, int32_t pan,
                         int32_t volume, std::string_view channel_label) {
  RunReporting(boxes_, PlayErrorFormat(name, channel_label, channel, pan, volume),
               [&] { audio_.Play(channel, name, SoundFile(name), loop, pan, volume); });
}

void SoundChannels::StopWav(int16_t channel) {
  audio_.Stop(channel);
  loop_.DoEvents();
}

void SoundChannels::SetSoundtrackWavVolume(int32_t volume) {
  audio_.SetVolume(kSoundtrackChannel, volume);
}

void SoundChannels::StopSoundControl() {
  audio_.StopAll();
}

}  // namespace qv::media
