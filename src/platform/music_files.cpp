#include "platform/music_files.h"

#include <SDL.h>
#include <fluidsynth.h>
#include <mpg123.h>
#include <sys/types.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>

#include "core/vb_error.h"
#include "platform/sdl_handles.h"
#include "platform/sound_files.h"

namespace qv::platform {

namespace {

[[noreturn]] void InvalidFormat() {
  Raise(kErrInvalidFileFormat);
}

// ---- FluidSynth's messages -------------------------------------------------------------

// A broken piece can make FluidSynth report the same failure many times a second:
// standard error gets a few lines per period and a count of the rest.
class RateLimitedLog {
 public:
  static constexpr int kLinesPerPeriod = 5;
  static constexpr std::chrono::seconds kPeriod{10};

  void Write(const char* message) {
    std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (now - period_start_ >= kPeriod) {
      if (suppressed_ > 0) std::fprintf(stderr, "fluidsynth: %d more messages\n", suppressed_);
      period_start_ = now;
      lines_ = 0;
      suppressed_ = 0;
    }
    if (lines_ < kLinesPerPeriod) {
      ++lines_;
      std::fprintf(stderr, "fluidsynth: %s\n", message);
    } else {
      ++suppressed_;
    }
  }

 private:
  std::mutex mutex_;
  std::chrono::steady_clock::time_point period_start_{};
  int lines_ = 0;
  int suppressed_ = 0;
};

void LogFluidMessage(int level, const char* message, void* data) {
  // Warnings are many and harmless (an instrument the soundfont lacks); errors count.
  if (level != FLUID_ERR && level != FLUID_PANIC) return;
  static_cast<RateLimitedLog*>(data)->Write(message);
}

void QuietFluidSynth() {
  static RateLimitedLog log;
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, &LogFluidMessage, &log);
  });
}

struct SettingsDeleter {
  void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct SynthDeleter {
  void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
struct PlayerDeleter {
  void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};
using SettingsPtr = std::unique_ptr<fluid_settings_t, SettingsDeleter>;
using FluidSynthPtr = std::unique_ptr<fluid_synth_t, SynthDeleter>;
using PlayerPtr = std::unique_ptr<fluid_player_t, PlayerDeleter>;

SettingsPtr MakeSettings() {
  QuietFluidSynth();
  SettingsPtr settings(new_fluid_settings());
  if (!settings) Raise(kErrOutOfMemory);
  fluid_settings_setnum(settings.get(), "synth.sample-rate", kMixRate);
  // The samples stay in ordinary memory: locking them needs privileges we do not ask for.
  fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
  return settings;
}

// A player of one piece that plays it once: a piece FluidSynth cannot read ends at once
// instead of being read again and again.
PlayerPtr StartPlayer(fluid_synth_t* synth, std::span<const uint8_t> bytes) {
  PlayerPtr player(new_fluid_player(synth));
  if (!player) Raise(kErrOutOfMemory);
  if (fluid_player_add_mem(player.get(), bytes.data(), bytes.size()) != FLUID_OK) {
    Raise(kErrOutOfMemory);
  }
  fluid_player_set_loop(player.get(), 1);
  fluid_player_play(player.get());
  return player;
}

// ---- our reading of a MIDI file ------------------------------------------------------------

// Big-endian numbers and variable-length quantities, within bounds.
class MidiReader {
 public:
  explicit MidiReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return at_ == bytes_.size(); }
  size_t Left() const { return bytes_.size() - at_; }
  uint8_t Byte() {
    if (AtEnd()) InvalidFormat();
    return bytes_[at_++];
  }
  void Unread() { --at_; }
  uint32_t Number(int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
      value = (value << 8) | Byte();
    return value;
  }
  // At most four bytes, as the format allows.
  uint32_t Quantity() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t byte = Byte();
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return value;
    }
    InvalidFormat();
  }
  std::span<const uint8_t> Take(uint32_t count) {
    if (count > Left()) InvalidFormat();
    auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

struct MidiCount {
  int running = -1;   // the running status, carried from track to track as FluidSynth does
  size_t events = 0;  // the events FluidSynth keeps
};

// The lengths FluidSynth insists on for meta events it uses (0 = any).
bool MetaLengthFits(uint8_t type, uint32_t length) {
  switch (type) {
    case 0x2F:  // end of track
      return length == 0;
    case 0x51:  // tempo
      return length == 3;
    case 0x54:  // SMPTE offset
      return length == 5;
    case 0x58:  // time signature
      return length == 4;
    case 0x59:  // key signature
      return length == 2;
    default:
      return true;
  }
}

// Reads one track chunk as FluidSynth does, up to its end or its end-of-track event.
void CheckTrack(std::span<const uint8_t> track, MidiCount& count) {
  MidiReader in(track);
  while (!in.AtEnd()) {
    in.Quantity();  // delta time
    int status = in.Byte();
    if (status < 0x80) {
      // A data byte: the running status applies and the byte is read again as its data.
      if (count.running < 0x80) InvalidFormat();
      in.Unread();
      status = count.running;
    }
    count.running = status;  // every status runs on, system exclusive and meta included
    if (status == 0xF0) {
      const uint32_t length = in.Quantity();
      in.Take(length);
      if (length > 0) ++count.events;
    } else if (status == 0xFF) {
      const uint8_t type = in.Byte();
      const uint32_t length = in.Quantity();
      in.Take(length);
      if (!MetaLengthFits(type, length)) InvalidFormat();
      if (type == 0x01 || type == 0x05 || type == 0x2F || type == 0x51) ++count.events;
      if (type == 0x2F) return;  // the rest of the chunk is passed over
    } else {
      const int kind = status & 0xF0;
      if (kind == 0xF0) InvalidFormat();  // no other system message belongs in a file
      // FluidSynth reads data bytes of 128 and more as they are, and a controller or a
      // note numbered beyond 127 writes past its tables: refused here.
      if (in.Byte() >= 0x80) InvalidFormat();
      if (kind != 0xC0 && kind != 0xD0 && in.Byte() >= 0x80) InvalidFormat();
      ++count.events;
    }
    if (count.events > kMaxMidiEvents) InvalidFormat();
  }
}

void ReadMidi(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxMidiFileBytes) InvalidFormat();
  MidiReader in(bytes);
  const auto tag = in.Take(4);
  if (std::memcmp(tag.data(), "MThd", 4) != 0) InvalidFormat();
  if (in.Number(4) != 6) InvalidFormat();
  const uint32_t format = in.Number(2);
  const uint32_t tracks = in.Number(2);
  const uint32_t division = in.Number(2);
  if (format > 2 || tracks == 0 || tracks > 127) InvalidFormat();
  if ((division & 0x8000) != 0 || division == 0) InvalidFormat();  // SMPTE timing, or none
  MidiCount count;
  for (uint32_t found = 0; found < tracks; ++found) {
    // FluidSynth cannot pass over a chunk of another kind: it reads on from the chunk's
    // data as if it were the next length, and fails.
    if (std::memcmp(in.Take(4).data(), "MTrk", 4) != 0) InvalidFormat();
    const uint32_t length = in.Number(4);
    if (length > 0x7FFFFFFF) InvalidFormat();
    CheckTrack(in.Take(length), count);
  }
  // Nothing to play: FluidSynth would start such a piece again at once, without end.
  if (count.events == 0) InvalidFormat();
}

// A silent synthesizer without instruments, made once, on which FluidSynth tries pieces.
class TrialSynth {
 public:
  TrialSynth() : settings_(MakeSettings()) {
    fluid_settings_setint(settings_.get(), "synth.polyphony", 1);
    synth_.reset(new_fluid_synth(settings_.get()));
  }

  // FluidSynth's own reading: the piece starts and one block is rendered; a piece it
  // cannot read has ended by then.
  bool Reads(std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    if (!synth_) Raise(kErrOutOfMemory);
    bool playing = false;
    {
      PlayerPtr player = StartPlayer(synth_.get(), bytes);
      float block[2 * 64];
      fluid_synth_write_float(synth_.get(), 64, block, 0, 2, block, 1, 2);
      playing = fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING;
    }
    fluid_synth_system_reset(synth_.get());
    return playing;
  }

 private:
  std::mutex mutex_;
  SettingsPtr settings_;
  FluidSynthPtr synth_;
};

void TryInFluidSynth(std::span<const uint8_t> bytes) {
  static TrialSynth trial;
  if (!trial.Reads(bytes)) InvalidFormat();
}

// ---- MIDI pieces -----------------------------------------------------------------------

class MidiSource : public MusicSource {
 public:
  MidiSource(fluid_synth_t* synth, std::vector<uint8_t> bytes)
      : synth_(synth), bytes_(std::move(bytes)) {
    Rewind();
  }
  ~MidiSource() override {
    player_.reset();
    fluid_synth_system_reset(synth_);
  }

  size_t Render(float* out, size_t frames) override {
    size_t done = 0;
    while (done < frames) {
      const int block = static_cast<int>(std::min<size_t>(frames - done, 1024));
      fluid_synth_write_float(synth_, block, out + 2 * done, 0, 2, out + 2 * done, 1, 2);
      done += static_cast<size_t>(block);
      if (fluid_player_get_status(player_.get()) != FLUID_PLAYER_PLAYING) break;
    }
    std::fill(out + 2 * done, out + 2 * frames, 0.0f);
    return done;
  }

  void Rewind() override {
    player_.reset();
    fluid_synth_system_reset(synth_);
    player_ = StartPlayer(synth_, bytes_);
  }

 private:
  fluid_synth_t* synth_;
  std::vector<uint8_t> bytes_;
  PlayerPtr player_;
};

// ---- MP3 pieces -------------------------------------------------------------------------

struct Mpg123Deleter {
  void operator()(mpg123_handle* h) const { mpg123_delete(h); }
};

class Mp3Source : public MusicSource {
 public:
  explicit Mp3Source(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    int error = MPG123_OK;
    handle_.reset(mpg123_new(nullptr, &error));
    if (!handle_) Raise(kErrOutOfMemory);
    mpg123_param(handle_.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Every rate and layout, decoded to float; the stream converts to the mixing format.
    mpg123_format_none(handle_.get());
    const long* rates = nullptr;
    size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    for (size_t i = 0; i < rate_count; ++i) {
      mpg123_format(handle_.get(), rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_replace_reader_handle(handle_.get(), &ReadBytes, &SeekBytes, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_.get(), this) != MPG123_OK) {
      InvalidFormat();
    }
    OpenStream();
    // The first frames must decode to sound: a file of anything else is refused here.
    std::vector<float> first(2 * 1024);
    if (Render(first.data(), 1024) == 0) InvalidFormat();
    Rewind();
  }

  size_t Render(float* out, size_t frames) override {
    size_t done = 0;
    const int want = static_cast<int>(frames * 2 * sizeof(float));
    while (done < frames) {
      const int got = SDL_AudioStreamGet(stream_.get(), out + 2 * done,
                                         want - static_cast<int>(done * 2 * sizeof(float)));
      if (got < 0) break;
      done += static_cast<size_t>(got) / (2 * sizeof(float));
      if (done >= frames) break;
      if (ended_) {
        if (SDL_AudioStreamAvailable(stream_.get()) == 0) break;
        continue;
      }
      Decode();
    }
    std::fill(out + 2 * done, out + 2 * frames, 0.0f);
    return done;
  }

  void Rewind() override {
    mpg123_seek(handle_.get(), 0, SEEK_SET);
    SDL_AudioStreamClear(stream_.get());
    ended_ = false;
    empty_reads_ = 0;
  }

 private:
  static mpg123_ssize_t ReadBytes(void* self, void* buffer, size_t count) {
    auto* source = static_cast<Mp3Source*>(self);
    const size_t n = std::min(count, source->bytes_.size() - source->at_);
    std::memcpy(buffer, source->bytes_.data() + source->at_, n);
    source->at_ += n;
    return static_cast<mpg123_ssize_t>(n);
  }
  static off_t SeekBytes(void* self, off_t offset, int whence) {
    auto* source = static_cast<Mp3Source*>(self);
    off_t base = 0;
    if (whence == SEEK_CUR) base = static_cast<off_t>(source->at_);
    if (whence == SEEK_END) base = static_cast<off_t>(source->bytes_.size());
    const off_t to = base + offset;
    if (to < 0 || to > static_cast<off_t>(source->bytes_.size())) return -1;
    source->at_ = static_cast<size_t>(to);
    return to;
  }

  void OpenStream() {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_.get(), &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || channels > 2 || rate <= 0) {
      InvalidFormat();
    }
    channels_ = channels;
    stream_.reset(SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(channels),
                                     static_cast<int>(rate), AUDIO_F32SYS, 2, kMixRate));
    if (!stream_) InvalidFormat();
  }

  // Decodes one piece of the file into the stream.
  void Decode() {
    size_t bytes = 0;
    const int result = mpg123_read(handle_.get(), piece_, sizeof piece_, &bytes);
    if (bytes > 0) SDL_AudioStreamPut(stream_.get(), piece_, static_cast<int>(bytes));
    // A reader that keeps finding frames of no sound gives up: nothing spins on it.
    empty_reads_ = bytes > 0 ? 0 : empty_reads_ + 1;
    if (empty_reads_ > kMaxEmptyReads) {
      ended_ = true;
      SDL_AudioStreamFlush(stream_.get());
      return;
    }
    if (result == MPG123_NEW_FORMAT) {
      SDL_AudioStreamFlush(stream_.get());
      // What the old format left is dropped with the stream; a new stream takes over.
      OpenStream();
    } else if (result != MPG123_OK) {
      ended_ = true;  // the end of the file, or data that does not decode any further
      SDL_AudioStreamFlush(stream_.get());
    }
  }

  std::vector<uint8_t> bytes_;
  size_t at_ = 0;
  std::unique_ptr<mpg123_handle, Mpg123Deleter> handle_;
  AudioStreamPtr stream_;
  int channels_ = 2;
  bool ended_ = false;
  static constexpr int kMaxEmptyReads = 1000;
  int empty_reads_ = 0;
  unsigned char piece_[16384];
};

}  // namespace

void CheckMidi(std::span<const uint8_t> bytes) {
  ReadMidi(bytes);
  TryInFluidSynth(bytes);
}

std::unique_ptr<MusicSource> OpenMp3(std::vector<uint8_t> bytes) {
  return std::make_unique<Mp3Source>(std::move(bytes));
}

struct MidiSynth::Impl {
  SettingsPtr settings;
  FluidSynthPtr synth;
};

MidiSynth::MidiSynth(const std::filesystem::path& soundfont) : impl_(std::make_unique<Impl>()) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(soundfont, ec)) {
    throw VbError(kErrFileNotFound, "Soundfont not found: " + soundfont.string());
  }
  impl_->settings = MakeSettings();
  impl_->synth.reset(new_fluid_synth(impl_->settings.get()));
  if (!impl_->synth) Raise(kErrOutOfMemory);
  // FluidSynth's default gain is quiet; full volume is a gain of 1.
  fluid_synth_set_gain(impl_->synth.get(), 1.0f);
  if (fluid_synth_sfload(impl_->synth.get(), soundfont.c_str(), 1) == FLUID_FAILED) {
    throw VbError(kErrInvalidFileFormat, "Soundfont not readable: " + soundfont.string());
  }
}

MidiSynth::~MidiSynth() = default;

std::unique_ptr<MusicSource> MidiSynth::Open(std::vector<uint8_t> bytes) {
  return std::make_unique<MidiSource>(impl_->synth.get(), std::move(bytes));
}

}  // namespace qv::platform
