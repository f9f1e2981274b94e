#include "platform/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/vb_error.h"

namespace qv::platform {

double VolumeGain(int32_t volume) {
  if (volume <= kSilentVolume) return 0.0;
  if (volume >= kFullVolume) return 1.0;
  return std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

StereoGains ChannelGains(int32_t pan, int32_t volume) {
  const double gain = VolumeGain(volume);
  // |pan| as an attenuation in hundredths of a decibel, kept clear of overflow.
  const int32_t far_side = -static_cast<int32_t>(std::min<int64_t>(std::llabs(pan), 10000));
  const double far_gain = gain * VolumeGain(far_side);
  StereoGains gains{gain, gain};
  if (pan < 0) gains.right = far_gain;
  if (pan > 0) gains.left = far_gain;
  return gains;
}

namespace {

StereoGains Master(StereoGains gains, double master) {
  return {gains.left * master, gains.right * master};
}

}  // namespace

void AudioDevice::SetMasterGain(double gain) {
  gain = std::clamp(gain, 0.0, 1.0);
  if (gain == master_gain_) return;
  master_gain_ = gain;
  for (int channel = 1; channel <= kSoundChannelCount; ++channel) {
    const SoundChannelState& state = channels_[static_cast<size_t>(channel)];
    if (state.playing) {
      DoSetGains(channel, state, Master(ChannelGains(state.pan, state.volume), master_gain_));
    }
  }
  if (music_.kind != MusicKind::kNone) {
    DoSetMusicGain(music_.volume, VolumeGain(music_.volume) * master_gain_);
  }
  if (stream_ != nullptr) DoSetStreamGain(master_gain_);
}

void AudioDevice::PlayStream(std::shared_ptr<SoundStream> stream) {
  if (!stream) return StopStream();
  const SoundStream* playing = stream.get();
  DoPlayStream(std::move(stream), master_gain_);  // may throw: then nothing changed
  stream_ = playing;
}

void AudioDevice::StopStream(const SoundStream* only) {
  if (stream_ == nullptr || (only != nullptr && only != stream_)) return;
  DoStopStream();
  stream_ = nullptr;
}

SoundChannelState& AudioDevice::Checked(int channel) {
  if (channel < 1 || channel > kSoundChannelCount) Raise(kErrSubscript);
  return channels_[static_cast<size_t>(channel)];
}

const SoundChannelState& AudioDevice::channel(int channel) const {
  if (channel < 1 || channel > kSoundChannelCount) Raise(kErrSubscript);
  return channels_[static_cast<size_t>(channel)];
}

void AudioDevice::Play(int channel, const std::string& name, const std::filesystem::path& file,
                       bool loop, int32_t pan, int32_t volume) {
  SoundChannelState& state = Checked(channel);
  SoundChannelState wanted{name, loop, pan, volume, true};
  DoPlay(channel, wanted, file, Master(ChannelGains(pan, volume), master_gain_));
  state = std::move(wanted);
}

void AudioDevice::SetPan(int channel, int32_t pan) {
  SoundChannelState& state = Checked(channel);
  SoundChannelState wanted = state;
  wanted.pan = pan;
  DoSetGains(channel, wanted, Master(ChannelGains(wanted.pan, wanted.volume), master_gain_));
  state.pan = pan;
}

void AudioDevice::SetVolume(int channel, int32_t volume) {
  SoundChannelState& state = Checked(channel);
  SoundChannelState wanted = state;
  wanted.volume = volume;
  DoSetGains(channel, wanted, Master(ChannelGains(wanted.pan, wanted.volume), master_gain_));
  state.volume = volume;
}

void AudioDevice::Stop(int channel) {
  if (channel < 1 || channel > kSoundChannelCount) return;
  DoStop(channel);
  channels_[static_cast<size_t>(channel)].playing = false;
}

void AudioDevice::StopAll() {
  DoStopAll();
  for (auto& state : channels_)
    state.playing = false;
}

void AudioDevice::PlayMusic(MusicKind kind, const std::string& name,
                            const std::filesystem::path& file, int32_t volume, bool loop) {
  if (kind == MusicKind::kNone) Raise(kErrInvalidCall);
  MusicState wanted{kind, name, loop, volume, true};
  DoPlayMusic(wanted, file, VolumeGain(volume) * master_gain_);
  music_ = std::move(wanted);
}

void AudioDevice::StopMusic() {
  if (music_.kind == MusicKind::kNone) return;
  DoStopMusic();
  music_.running = false;
}

void AudioDevice::RestartMusic() {
  if (music_.kind == MusicKind::kNone) return;
  DoRestartMusic();
  music_.running = true;
}

void AudioDevice::SetMusicVolume(int32_t volume) {
  if (music_.kind == MusicKind::kNone) return;
  DoSetMusicGain(volume, VolumeGain(volume) * master_gain_);
  music_.volume = volume;
}

void AudioDevice::ReleaseMusic() {
  if (music_.kind == MusicKind::kNone) return;
  DoReleaseMusic();
  music_ = {};
}

bool AudioDevice::MusicEnded() const {
  return music_.kind != MusicKind::kNone && music_.running && DoMusicEnded();
}

}  // namespace qv::platform
