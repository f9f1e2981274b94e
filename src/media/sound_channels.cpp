#include "media/sound_channels.h"

#include <exception>

#include "core/text.h"
#include "core/vb_error.h"
#include "engine/engine.h"

namespace qv::media {

namespace {

// "Error playing WAV file.  File 'door.wav' - Ch5 - Pan0 - Vol-300" + the error.
void ShowPlayError(MessageBoxService& boxes, const std::string& name, std::string_view label,
                   int16_t channel, int32_t pan, int32_t volume, const std::exception& e) {
  const VbError error = ToVbError(e);
  boxes.Show(kAppTitle,
             "Error playing WAV file.  File '" + name + "' - " + std::string(label) +
                 PlainNum(channel) + " - Pan" + PlainNum(pan) + " - Vol" + PlainNum(volume) +
                 "\rErr #" + PlainNum(error.number()) + " : " + error.description(),
             BoxButtons::kOk, BoxIcon::kNone);
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
  try {
    loop_.DoEvents();
    if (engine_ != nullptr) {
      auto& memories = engine_->memories;
      bool watched = false;
      for (int r = 1; r <= 20; ++r) {
        if (memories.WatchedWav[r] == name) {
          memories.WavPlayed[r] = true;
          watched = true;
        }
      }
      if (watched) {
        engine_->CheckHiddenObjects();
        return;
      }
    }
  } catch (const std::exception& e) {
    // The rules that ran for the sound failed: reported as the sound's failure.
    ShowPlayError(boxes_, name, "Ch", channel, pan, volume, e);
    return;
  }
  if (channel < 14) {
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
  try {
    audio_.Play(channel, name, SoundFile(name), loop, pan, volume);
  } catch (const std::exception& e) {
    ShowPlayError(boxes_, name, channel_label, channel, pan, volume, e);
  }
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
