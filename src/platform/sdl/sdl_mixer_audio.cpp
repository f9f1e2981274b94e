#include "platform/sdl/sdl_mixer_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "core/vb_error.h"
#include "platform/music_files.h"
#include "platform/sdl_handles.h"
#include "platform/sound_files.h"

namespace qv::platform {

namespace {

// Samples per mixing buffer: about 23 ms at 44100 Hz.
constexpr int kBufferFrames = 1024;

// A piece that repeats is never started again sooner than this after its last start:
// a piece of no length would otherwise be read again on every buffer.
constexpr size_t kMinPassFrames = kMixRate;

// Idle checks in a row that find nothing playing before the output is closed: 5 to 10 s of
// silence at the player's pace.
constexpr int kIdleChecksBeforeRelease = 2;

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
  // Before the channels: the sounds they play give their memory back to its budget.
  SoundCache cache;
  std::array<Channel, kSoundChannelCount + 1> channels;  // element 0 unused
  std::unique_ptr<MidiSynth> midi;                       // made for the first MIDI piece

  // The music stream, rendered into the mix by the mixer's thread (MixMusic). The
  // mutex guards the piece and its state; SDL_mixer is never called while it is held,
  // since the mixer's thread holds SDL's audio lock when it takes it.
  std::mutex music_mutex;
  std::unique_ptr<MusicSource> music;
  bool music_loop = false;
  bool music_playing = false;
  bool music_ended = false;
  size_t pass_frames = 0;  // frames since the piece last started
  std::atomic<float> music_gain{1.0f};
  std::vector<float> music_buffer;

  // The movie's sound, pulled by the mixer's thread under its own mutex.
  std::mutex stream_mutex;
  std::shared_ptr<SoundStream> movie_stream;
  std::atomic<float> stream_gain{1.0f};
  std::vector<int16_t> stream_buffer;

  // Whether SDL's output is open now: it is closed while nothing has played for a while.
  bool output_open = false;
  int idle_checks = 0;

  static int MixChannel(int channel) { return channel - 1; }

  // Opens the output in the one format the gains count on (SDL converts for the
  // hardware), with the 20 channels and the music hook. Returns SDL_mixer's reason when
  // it cannot.
  std::string OpenOutput() {
    if (Mix_OpenAudioDevice(kMixRate, AUDIO_S16SYS, kMixChannels, kBufferFrames, nullptr, 0) != 0) {
      return Mix_GetError();
    }
    Mix_AllocateChannels(kSoundChannelCount);
    Mix_HookMusic(&Impl::MixMusic, this);
    output_open = true;
    idle_checks = 0;
    return {};
  }

  // Before anything is started: the output is open again, or VbError with the reason.
  void NeedOutput() {
    idle_checks = 0;
    if (output_open) return;
    if (std::string reason = OpenOutput(); !reason.empty()) {
      throw VbError(kErrInvalidCall, reason);
    }
  }

  void CloseOutput() {
    Mix_HaltChannel(-1);
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    output_open = false;
    for (Channel& channel : channels)
      channel.sound.reset();
  }

  bool SomethingPlays() {
    if (Mix_Playing(-1) > 0) return true;
    {
      std::lock_guard lock(stream_mutex);
      if (movie_stream) return true;
    }
    std::lock_guard lock(music_mutex);
    return music && music_playing;
  }

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
    // A closed output has no channels (and SDL_mixer none to halt).
    if (output_open) Mix_HaltChannel(MixChannel(channel));
    channels[static_cast<size_t>(channel)].sound.reset();
  }

  // Runs on the mixer's thread before the channels are mixed in: the piece's samples at
  // the music's exact gain, and the movie's sound.
  static void MixMusic(void* data, Uint8* stream, int length) {
    auto* impl = static_cast<Impl*>(data);
    const size_t frames = static_cast<size_t>(length) / (kMixChannels * sizeof(int16_t));
    auto* samples = reinterpret_cast<int16_t*>(stream);
    impl->MixPiece(samples, frames);
    impl->MixStream(samples, frames);
  }

  void MixPiece(int16_t* samples, size_t frames) {
    std::lock_guard lock(music_mutex);
    if (!music || !music_playing) return;
    music_buffer.resize(frames * kMixChannels);
    RenderMusic(music_buffer.data(), frames);
    const float gain = music_gain.load(std::memory_order_relaxed);
    for (size_t i = 0; i < frames * kMixChannels; ++i) {
      const float mixed = samples[i] + music_buffer[i] * gain * 32767.0f;
      samples[i] = static_cast<int16_t>(std::lrintf(std::clamp(mixed, -32768.0f, 32767.0f)));
    }
  }

  void MixStream(int16_t* samples, size_t frames) {
    std::lock_guard lock(stream_mutex);
    if (!movie_stream) return;
    stream_buffer.assign(frames * kMixChannels, 0);
    const size_t got = movie_stream->Pull(stream_buffer.data(), frames);
    const float gain = stream_gain.load(std::memory_order_relaxed);
    for (size_t i = 0; i < std::min(got, frames) * kMixChannels; ++i) {
      const float mixed = samples[i] + stream_buffer[i] * gain;
      samples[i] = static_cast<int16_t>(std::lrintf(std::clamp(mixed, -32768.0f, 32767.0f)));
    }
  }

  // Fills `frames` frames of the piece, starting it again at its end when it repeats.
  void RenderMusic(float* out, size_t frames) {
    size_t done = 0;
    while (done < frames && music_playing) {
      const size_t got = music->Render(out + kMixChannels * done, frames - done);
      done += got;
      pass_frames += got;
      if (done >= frames) break;
      // The piece has ended.
      if (!music_loop) {
        music_playing = false;
        music_ended = true;
        break;
      }
      if (pass_frames < kMinPassFrames) {
        // Silence until the pass has lasted long enough, then the next pass.
        const size_t wait = std::min(frames - done, kMinPassFrames - pass_frames);
        done += wait;
        pass_frames += wait;
        if (pass_frames < kMinPassFrames) break;
      }
      music->Rewind();
      pass_frames = 0;
    }
  }

  std::unique_ptr<MusicSource> TakeMusic() {
    std::lock_guard lock(music_mutex);
    music_playing = false;
    music_ended = false;
    return std::move(music);
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
  if (std::string reason = impl_->OpenOutput(); !reason.empty()) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    throw std::runtime_error("no sound output: " + reason);
  }
}

SdlMixerAudio::~SdlMixerAudio() {
  if (impl_->output_open) impl_->CloseOutput();
  impl_->TakeMusic();
  DoStopStream();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMixerAudio::ReleaseIdleOutput() {
  if (!impl_->output_open) return;
  if (impl_->SomethingPlays()) {
    impl_->idle_checks = 0;
    return;
  }
  if (++impl_->idle_checks >= kIdleChecksBeforeRelease) impl_->CloseOutput();
}

bool SdlMixerAudio::output_open() const {
  return impl_->output_open;
}

void SdlMixerAudio::UseMemoryBudget(MemoryBudget& budget) {
  impl_->cache.UseMemoryBudget(budget);
}

size_t SdlMixerAudio::cached_sounds() const {
  return impl_->cache.size();
}

void SdlMixerAudio::DoPlay(int channel, const SoundChannelState& wanted,
                           const std::filesystem::path& file, StereoGains gains) {
  // Read and decode first: a file that fails leaves the channel as it was.
  std::shared_ptr<const DecodedSound> sound = impl_->cache.Load(file);
  impl_->NeedOutput();
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
  // Read, checked and opened first: a piece that fails leaves the music as it was.
  std::unique_ptr<MusicSource> piece;
  if (wanted.kind == MusicKind::kMidi) {
    if (!impl_->midi) impl_->midi = std::make_unique<MidiSynth>(impl_->config.soundfont);
    std::vector<uint8_t> bytes = ReadSoundFile(file, kMaxMidiFileBytes);
    CheckMidi(bytes);
    // The synthesizer plays one piece at a time: the old one goes first.
    impl_->TakeMusic();
    piece = impl_->midi->Open(std::move(bytes));
  } else {
    piece = OpenMp3(ReadSoundFile(file));
  }
  impl_->NeedOutput();
  std::unique_ptr<MusicSource> old;
  {
    std::lock_guard lock(impl_->music_mutex);
    old = std::move(impl_->music);
    impl_->music = std::move(piece);
    impl_->music_loop = wanted.loop;
    impl_->music_playing = true;
    impl_->music_ended = false;
    impl_->pass_frames = 0;
    impl_->music_gain.store(static_cast<float>(gain));
  }
}

void SdlMixerAudio::DoStopMusic() {
  std::lock_guard lock(impl_->music_mutex);
  impl_->music_playing = false;
  impl_->music_ended = false;
  if (impl_->music) impl_->music->Rewind();
}

void SdlMixerAudio::DoRestartMusic() {
  if (!impl_->music) return;
  impl_->NeedOutput();
  std::lock_guard lock(impl_->music_mutex);
  impl_->music->Rewind();
  impl_->pass_frames = 0;
  impl_->music_playing = true;
  impl_->music_ended = false;
}

void SdlMixerAudio::DoSetMusicGain(int32_t, double gain) {
  impl_->music_gain.store(static_cast<float>(gain));
}

void SdlMixerAudio::DoReleaseMusic() {
  impl_->TakeMusic();
}

bool SdlMixerAudio::DoMusicEnded() const {
  std::lock_guard lock(impl_->music_mutex);
  return impl_->music != nullptr && impl_->music_ended;
}

void SdlMixerAudio::DoPlayStream(std::shared_ptr<SoundStream> stream, double gain) {
  impl_->NeedOutput();
  std::shared_ptr<SoundStream> old;
  std::lock_guard lock(impl_->stream_mutex);
  old = std::move(impl_->movie_stream);
  impl_->movie_stream = std::move(stream);
  impl_->stream_gain.store(static_cast<float>(gain));
}

void SdlMixerAudio::DoStopStream() {
  std::shared_ptr<SoundStream> old;
  std::lock_guard lock(impl_->stream_mutex);
  old = std::move(impl_->movie_stream);
}

void SdlMixerAudio::DoSetStreamGain(double gain) {
  impl_->stream_gain.store(static_cast<float>(gain));
}

}  // namespace qv::platform
