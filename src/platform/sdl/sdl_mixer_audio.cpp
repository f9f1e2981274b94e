#include "platform/sdl/sdl_mixer_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "core/vb_error.h"
#include "platform/sdl_handles.h"
#include "platform/sound_files.h"

namespace qv::platform {

namespace {

// Samples per mixing buffer: about 23 ms at 44100 Hz.
constexpr int kBufferFrames = 1024;

using MusicPtr = std::unique_ptr<Mix_Music, SdlRelease<Mix_FreeMusic>>;

int MixVolume(double gain) {
  return static_cast<int>(std::lround(std::clamp(gain, 0.0, 1.0) * MIX_MAX_VOLUME));
}

}  // namespace

struct SdlMixerAudio::Impl {
  // One game channel. The gains are read by the mixer's thread while the sound plays.
  struct Channel {
    std::shared_ptr<const DecodedSound> sound;
    Mix_Chunk chunk{};
    std::atomic<float> left{1.0f};
    std::atomic<float> right{1.0f};
  };

  SdlAudioConfig config;
  std::array<Channel, kSoundChannelCount + 1> channels;  // element 0 unused
  SoundCache cache;
  MusicPtr music;
  std::vector<uint8_t> music_bytes;  // what `music` plays from
  bool music_loop = false;

  static int MixChannel(int channel) { return channel - 1; }

  // Runs on the mixer's thread for each buffer of a channel's sound: applies the
  // channel's gains to the 16-bit stereo samples.
  static void ApplyGains(int, void* stream, int length, void* data) {
    const auto* channel = static_cast<const Channel*>(data);
    const float left = channel->left.load(std::memory_order_relaxed);
    const float right = channel->right.load(std::memory_order_relaxed);
    if (left == 1.0f && right == 1.0f) return;
    auto* samples = static_cast<int16_t*>(stream);
    const int count = length / static_cast<int>(sizeof(int16_t));
    for (int i = 0; i + 1 < count; i += 2) {
      samples[i] = static_cast<int16_t>(std::lrintf(samples[i] * left));
      samples[i + 1] = static_cast<int16_t>(std::lrintf(samples[i + 1] * right));
    }
  }

  void SetGains(Channel& channel, StereoGains gains) {
    channel.left.store(static_cast<float>(gains.left), std::memory_order_relaxed);
    channel.right.store(static_cast<float>(gains.right), std::memory_order_relaxed);
  }

  // Halts a channel; once this returns, the mixer no longer reads its sound.
  void Halt(int channel) {
    Mix_HaltChannel(MixChannel(channel));
    channels[static_cast<size_t>(channel)].sound.reset();
  }

  void FreeMusic() {
    if (!music) return;
    Mix_HaltMusic();
    music.reset();
    music_bytes.clear();
  }
};

SdlMixerAudio::SdlMixerAudio(SdlAudioConfig config) : impl_(std::make_unique<Impl>()) {
  impl_->config = std::move(config);
  if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
    throw std::runtime_error("the sound output is already open");
  }
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    throw std::runtime_error(std::string("no sound output: ") + SDL_GetError());
  }
  // Decoders that fail to start show when a piece of their kind is played.
  Mix_Init(MIX_INIT_MID | MIX_INIT_MP3);
  // Always this format: SDL converts for the hardware, the gains can count on it.
  if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, kMixChannels, kBufferFrames, nullptr, 0) != 0) {
    std::string reason = Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    throw std::runtime_error("no sound output: " + reason);
  }
  Mix_AllocateChannels(kSoundChannelCount);
}

SdlMixerAudio::~SdlMixerAudio() {
  Mix_HaltChannel(-1);
  impl_->FreeMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

size_t SdlMixerAudio::cached_sounds() const {
  return impl_->cache.size();
}

void SdlMixerAudio::DoPlay(int channel, const SoundChannelState& wanted,
                           const std::filesystem::path& file, StereoGains gains) {
  // Read and decode first: a file that fails leaves the channel as it was.
  std::shared_ptr<const DecodedSound> sound = impl_->cache.Load(file);
  impl_->Halt(channel);
  Impl::Channel& slot = impl_->channels[static_cast<size_t>(channel)];
  const int mix = Impl::MixChannel(channel);
  if (sound->samples.empty()) return;  // nothing to hear
  slot.sound = std::move(sound);
  slot.chunk = Mix_Chunk{};
  slot.chunk.allocated = 0;  // the samples belong to the decoded sound
  slot.chunk.abuf = reinterpret_cast<Uint8*>(const_cast<int16_t*>(slot.sound->samples.data()));
  slot.chunk.alen = static_cast<Uint32>(slot.sound->bytes());
  slot.chunk.volume = MIX_MAX_VOLUME;
  impl_->SetGains(slot, gains);
  // The channel is idle now: the gains are in place before its first sample is mixed.
  Mix_UnregisterAllEffects(mix);
  Mix_RegisterEffect(mix, &Impl::ApplyGains, nullptr, &slot);
  if (Mix_PlayChannel(mix, &slot.chunk, wanted.loop ? -1 : 0) < 0) {
    const std::string reason = Mix_GetError();
    impl_->Halt(channel);
    throw VbError(kErrInvalidCall, reason);
  }
}

void SdlMixerAudio::DoSetGains(int channel, const SoundChannelState&, StereoGains gains) {
  impl_->SetGains(impl_->channels[static_cast<size_t>(channel)], gains);
}

void SdlMixerAudio::DoStop(int channel) {
  impl_->Halt(channel);
}

void SdlMixerAudio::DoStopAll() {
  for (int channel = 1; channel <= kSoundChannelCount; ++channel)
    impl_->Halt(channel);
  impl_->cache.Clear();
}

void SdlMixerAudio::DoPlayMusic(const MusicState& wanted, const std::filesystem::path& file,
                                double gain) {
  std::error_code ec;
  Mix_MusicType type = MUS_MP3;
  if (wanted.kind == MusicKind::kMidi) {
    type = MUS_MID;
    const std::filesystem::path& soundfont = impl_->config.soundfont;
    if (!std::filesystem::is_regular_file(soundfont, ec)) {
      throw VbError(kErrFileNotFound, "Soundfont not found: " + soundfont.string());
    }
    Mix_SetSoundFonts(soundfont.c_str());
  }
  // The piece is read once and played from memory.
  std::vector<uint8_t> bytes = ReadSoundFile(file);
  if (type == MUS_MID) CheckMidi(bytes);
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) Raise(kErrInvalidFileFormat);
  // Only the decoder of the kind asked for looks at the file; the music owns the source.
  MusicPtr music(Mix_LoadMUSType_RW(source, type, 1));
  if (!music) Raise(kErrInvalidFileFormat);
  // An MP3 decoder finds no sound in a file that is no MP3: it would play nothing.
  if (type == MUS_MP3 && !(Mix_MusicDuration(music.get()) > 0.0)) Raise(kErrInvalidFileFormat);
  impl_->FreeMusic();
  impl_->music = std::move(music);
  impl_->music_bytes = std::move(bytes);
  impl_->music_loop = wanted.loop;
  Mix_VolumeMusic(MixVolume(gain));
  if (Mix_PlayMusic(impl_->music.get(), wanted.loop ? -1 : 0) != 0) {
    const std::string reason = Mix_GetError();
    impl_->FreeMusic();
    throw VbError(kErrInvalidCall, reason);
  }
}

void SdlMixerAudio::DoStopMusic() {
  Mix_HaltMusic();
}

void SdlMixerAudio::DoRestartMusic() {
  if (!impl_->music) return;
  if (Mix_PlayMusic(impl_->music.get(), impl_->music_loop ? -1 : 0) != 0) {
    throw VbError(kErrInvalidCall, Mix_GetError());
  }
}

void SdlMixerAudio::DoSetMusicGain(int32_t, double gain) {
  Mix_VolumeMusic(MixVolume(gain));
}

void SdlMixerAudio::DoReleaseMusic() {
  impl_->FreeMusic();
}

bool SdlMixerAudio::DoMusicEnded() const {
  return impl_->music && Mix_PlayingMusic() == 0;
}

}  // namespace qv::platform
