#include "platform/sound_files.h"

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <system_error>

#include "core/vb_error.h"
#include "platform/regular_file.h"
#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

// Sample rates outside this range are no real recording: a header that claims one is
// refused before its samples are converted.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 8;
// Silence added after a sound's last frame so that the resampler lets go of it.
constexpr size_t kTailFrames = 4096;
// The largest WAV of an encoding SDL's reader decodes whole (A-law, mu-law, ADPCM).
constexpr size_t kMaxSdlWavBytes = size_t{32} << 20;

[[noreturn]] void InvalidFormat() {
  Raise(kErrInvalidFileFormat);
}

struct WavBuffer {
  Uint8* data = nullptr;
  Uint32 length = 0;
  ~WavBuffer() { SDL_FreeWAV(data); }
};

uint32_t ReadLe32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void WriteLe32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Makes a RIFF file's chunk sizes claim no more than the file holds. SDL sets aside
// memory for the size a chunk claims before it reads it: a header claiming gigabytes
// would cost that much for a file of a few bytes.
void MakeChunkSizesHonest(std::vector<uint8_t>& copy) {
  constexpr size_t kHeader = 8;
  auto clamp = [&](size_t at) {
    const size_t room = copy.size() - at - kHeader;
    const uint32_t claimed = ReadLe32(&copy[at + 4]);
    const uint32_t honest = static_cast<uint32_t>(std::min<size_t>(claimed, room));
    WriteLe32(&copy[at + 4], honest);
    return honest;
  };
  if (copy.size() < 12) return;
  clamp(0);
  size_t at = 12;  // "RIFF", its size, "WAVE"
  while (at + kHeader <= copy.size()) {
    const uint32_t length = clamp(at);
    at += kHeader + length + (length & 1u);
  }
}

}  // namespace

std::vector<uint8_t> ReadSoundFile(const std::filesystem::path& file, uintmax_t max_bytes) {
  return ReadOrdinaryFile(file, max_bytes, kErrInvalidFileFormat);
}

namespace {

// Where a WAV's bytes come from: memory, or an open file read piece by piece.
class WavBytes {
 public:
  virtual ~WavBytes() = default;
  virtual uint64_t size() const = 0;
  // Copies up to `count` bytes from `offset`; returns how many there were.
  virtual size_t Read(uint64_t offset, uint8_t* out, size_t count) const = 0;
  // The whole file in memory, for SDL's own reader.
  virtual std::vector<uint8_t> All() const = 0;
};

class MemoryWavBytes : public WavBytes {
 public:
  explicit MemoryWavBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  size_t Read(uint64_t offset, uint8_t* out, size_t count) const override {
    if (offset >= bytes_.size()) return 0;
    const size_t n = std::min<size_t>(count, bytes_.size() - offset);
    std::memcpy(out, bytes_.data() + offset, n);
    return n;
  }
  std::vector<uint8_t> All() const override { return {bytes_.begin(), bytes_.end()}; }

 private:
  std::span<const uint8_t> bytes_;
};

class FileWavBytes : public WavBytes {
 public:
  explicit FileWavBytes(const std::filesystem::path& file) : file_(file) {
    CheckOrdinaryFile(file);
    fd_ = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd_ < 0 || ::fstat(fd_, &status) != 0) Raise(kErrPathFileAccess);
    if (!S_ISREG(status.st_mode)) Raise(kErrFileNotFound);
    size_ = static_cast<uint64_t>(status.st_size);
    if (size_ > kMaxSoundFileBytes) InvalidFormat();
  }
  ~FileWavBytes() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FileWavBytes(const FileWavBytes&) = delete;
  FileWavBytes& operator=(const FileWavBytes&) = delete;

  uint64_t size() const override { return size_; }
  size_t Read(uint64_t offset, uint8_t* out, size_t count) const override {
    size_t done = 0;
    while (done < count) {
      const ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) Raise(kErrPathFileAccess);
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return done;
  }
  std::vector<uint8_t> All() const override { return ReadSoundFile(file_); }

 private:
  std::filesystem::path file_;
  int fd_ = -1;
  uint64_t size_ = 0;
};

uint16_t ReadLe16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

// What the "fmt " and "data" chunks say, with the data clamped to the file.
struct WavLayout {
  uint16_t tag = 0;  // 1 PCM, 3 float, 0xFFFE extensible (its sub-format taken instead)
  int channels = 0;
  int rate = 0;
  int bits = 0;
  int block = 0;  // bytes per frame
  uint64_t data_offset = 0;
  uint64_t data_bytes = 0;
  bool has_format = false;
  bool has_data = false;
};

WavLayout ReadLayout(const WavBytes& wav) {
  uint8_t header[12];
  if (wav.Read(0, header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    InvalidFormat();
  }
  WavLayout layout;
  uint64_t at = 12;
  while (at + 8 <= wav.size() && !(layout.has_format && layout.has_data)) {
    uint8_t chunk[8];
    wav.Read(at, chunk, 8);
    const uint64_t length = std::min<uint64_t>(ReadLe32(chunk + 4), wav.size() - at - 8);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !layout.has_format && length >= 16) {
      uint8_t format[40] = {};
      wav.Read(at + 8, format, static_cast<size_t>(std::min<uint64_t>(length, sizeof format)));
      layout.tag = ReadLe16(format);
      layout.channels = ReadLe16(format + 2);
      layout.rate = static_cast<int>(std::min<uint32_t>(ReadLe32(format + 4), 1u << 30));
      layout.block = ReadLe16(format + 12);
      layout.bits = ReadLe16(format + 14);
      if (layout.tag == 0xFFFE && length >= 40) layout.tag = ReadLe16(format + 24);
      layout.has_format = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !layout.has_data) {
      layout.data_offset = at + 8;
      layout.data_bytes = length;
      layout.has_data = true;
    }
    at += 8 + length + (length & 1u);
  }
  if (!layout.has_format || !layout.has_data) InvalidFormat();
  if (layout.rate < kMinRate || layout.rate > kMaxRate) InvalidFormat();
  if (layout.channels < 1 || layout.channels > kMaxChannels) InvalidFormat();
  return layout;
}

// The SDL format of samples we stream ourselves; 0 for those SDL's reader decodes.
SDL_AudioFormat StreamedFormat(const WavLayout& layout) {
  if (layout.block != layout.channels * layout.bits / 8) return 0;
  if (layout.tag == 1 && layout.bits == 8) return AUDIO_U8;
  if (layout.tag == 1 && layout.bits == 16) return AUDIO_S16LSB;
  if (layout.tag == 1 && (layout.bits == 24 || layout.bits == 32)) return AUDIO_S32LSB;
  if (layout.tag == 3 && layout.bits == 32) return AUDIO_F32LSB;
  return 0;
}

// Converts frames to the mixing format through an SDL audio stream, a piece at a time,
// into samples reserved in advance against the budget.
class Converter {
 public:
  Converter(SDL_AudioFormat format, int channels, int rate, uint64_t frames, MemoryBudget& budget)
      : frame_bytes_(static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) * channels),
        silence_(format == AUDIO_U8 ? 0x80 : 0),
        length_(static_cast<size_t>(std::llround(static_cast<double>(frames) * kMixRate / rate)) *
                kMixChannels) {
    // The converted length, with room for the resampler's rounding.
    const double frames_out = static_cast<double>(frames) * kMixRate / rate + 64.0;
    const double bytes_out = frames_out * kMixChannels * sizeof(int16_t);
    if (bytes_out > static_cast<double>(kMaxDecodedBytes)) InvalidFormat();
    sound_.lease = budget.Reserve(static_cast<uint64_t>(bytes_out));
    sound_.samples.reserve(static_cast<size_t>(frames_out) * kMixChannels);
    stream_.reset(SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, AUDIO_S16SYS,
                                     kMixChannels, kMixRate));
    if (!stream_) InvalidFormat();
  }

  void Put(const uint8_t* bytes, size_t count) {
    if (count > 0 && SDL_AudioStreamPut(stream_.get(), bytes, static_cast<int>(count)) != 0) {
      InvalidFormat();
    }
    Take();
  }

  DecodedSound Finish() {
    // The resampler holds back the last few frames even when flushed: a tail of silence
    // pushes them out, and the result is cut to the sound's own length.
    const std::vector<uint8_t> tail(kTailFrames * frame_bytes_, silence_);
    Put(tail.data(), tail.size());
    if (SDL_AudioStreamFlush(stream_.get()) != 0) InvalidFormat();
    Take();
    sound_.samples.resize(std::min(length_, sound_.samples.size() / kMixChannels * kMixChannels));
    return std::move(sound_);
  }

 private:
  // Moves what the stream holds into the samples, never beyond what was reserved.
  void Take() {
    for (;;) {
      const int got = SDL_AudioStreamGet(stream_.get(), piece_.data(),
                                         static_cast<int>(piece_.size() * sizeof(int16_t)));
      if (got < 0) InvalidFormat();
      if (got == 0) return;
      const size_t count = static_cast<size_t>(got) / sizeof(int16_t);
      const size_t room = sound_.samples.capacity() - sound_.samples.size();
      sound_.samples.insert(sound_.samples.end(), piece_.begin(),
                            piece_.begin() + static_cast<std::ptrdiff_t>(std::min(count, room)));
    }
  }

  size_t frame_bytes_;
  uint8_t silence_;
  size_t length_;
  DecodedSound sound_;
  AudioStreamPtr stream_;
  std::vector<int16_t> piece_ = std::vector<int16_t>(size_t{16384} * kMixChannels);
};

// PCM and float samples straight from the file, 64 KiB at a time; 24-bit samples are
// widened to 32 bits on the way, as the converter has no 24-bit format.
DecodedSound StreamPcm(const WavBytes& wav, const WavLayout& layout, SDL_AudioFormat format,
                       MemoryBudget& budget) {
  const uint64_t frames = layout.data_bytes / static_cast<uint64_t>(layout.block);
  Converter converter(format, layout.channels, layout.rate, frames, budget);
  const size_t frames_per_piece = std::max<size_t>(1, 65536 / static_cast<size_t>(layout.block));
  std::vector<uint8_t> piece(frames_per_piece * static_cast<size_t>(layout.block));
  std::vector<uint8_t> widened;
  for (uint64_t frame = 0; frame < frames;) {
    const size_t count = static_cast<size_t>(std::min<uint64_t>(frames_per_piece, frames - frame));
    const size_t bytes = count * static_cast<size_t>(layout.block);
    if (wav.Read(layout.data_offset + frame * layout.block, piece.data(), bytes) != bytes) {
      InvalidFormat();
    }
    if (layout.bits == 24) {
      const size_t samples = bytes / 3;
      widened.resize(samples * 4);
      for (size_t i = 0; i < samples; ++i) {
        widened[4 * i] = 0;
        std::memcpy(&widened[4 * i + 1], &piece[3 * i], 3);
      }
      converter.Put(widened.data(), widened.size());
    } else {
      converter.Put(piece.data(), bytes);
    }
    frame += count;
  }
  return converter.Finish();
}

// The other encodings, as SDL's reader decodes them (the whole file in memory; SDL's
// decoded copy counts against the budget while it exists).
DecodedSound DecodeWithSdl(std::vector<uint8_t> bytes, const WavLayout& layout,
                           MemoryBudget& budget) {
  if (bytes.size() > kMaxSdlWavBytes) InvalidFormat();
  // Compressed samples grow at most four times (4-bit ADPCM to 16 bits).
  MemoryLease decoding = budget.Reserve(layout.data_bytes * 4);
  MakeChunkSizesHonest(bytes);
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) InvalidFormat();
  SDL_AudioSpec wav_format{};
  WavBuffer wav;
  if (SDL_LoadWAV_RW(source, 1, &wav_format, &wav.data, &wav.length) == nullptr) InvalidFormat();
  bytes = {};
  if (wav_format.freq < kMinRate || wav_format.freq > kMaxRate) InvalidFormat();
  if (wav_format.channels < 1 || wav_format.channels > kMaxChannels) InvalidFormat();
  const size_t frame_bytes =
      static_cast<size_t>(SDL_AUDIO_BITSIZE(wav_format.format) / 8) * wav_format.channels;
  if (frame_bytes == 0) InvalidFormat();
  const size_t frames = wav.length / frame_bytes;
  Converter converter(wav_format.format, wav_format.channels, wav_format.freq, frames, budget);
  const size_t piece = std::max<size_t>(1, 65536 / frame_bytes) * frame_bytes;
  for (size_t at = 0; at < frames * frame_bytes; at += piece) {
    converter.Put(wav.data + at, std::min(piece, frames * frame_bytes - at));
  }
  return converter.Finish();
}

DecodedSound Decode(const WavBytes& wav, MemoryBudget& budget) {
  const WavLayout layout = ReadLayout(wav);
  if (const SDL_AudioFormat format = StreamedFormat(layout)) {
    return StreamPcm(wav, layout, format, budget);
  }
  return DecodeWithSdl(wav.All(), layout, budget);
}

}  // namespace

DecodedSound DecodeWav(std::span<const uint8_t> bytes, MemoryBudget& budget) {
  if (bytes.size() > kMaxSoundFileBytes) InvalidFormat();
  return Decode(MemoryWavBytes(bytes), budget);
}

DecodedSound DecodeWavFile(const std::filesystem::path& file, MemoryBudget& budget) {
  return Decode(FileWavBytes(file), budget);
}

SoundCache::SoundCache(size_t budget_bytes, MemoryBudget* memory)
    : budget_(budget_bytes), memory_(memory != nullptr ? memory : &own_memory_) {
  reclaimer_ = memory_->AddReclaimer([this] { Clear(); });
}

SoundCache::~SoundCache() {
  memory_->RemoveReclaimer(reclaimer_);
}

void SoundCache::UseMemoryBudget(MemoryBudget& memory) {
  Clear();
  memory_->RemoveReclaimer(reclaimer_);
  memory_ = &memory;
  reclaimer_ = memory_->AddReclaimer([this] { Clear(); });
}

std::shared_ptr<const DecodedSound> SoundCache::Load(const std::filesystem::path& file) {
  std::error_code ec;
  const std::string key = file.lexically_normal().string();
  const uintmax_t size = std::filesystem::file_size(file, ec);
  const auto written =
      ec ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(file, ec);
  if (!ec) {
    auto found = by_key_.find(key);
    if (found != by_key_.end()) {
      Entry& entry = *found->second;
      if (entry.file_size == size && entry.written == written) {
        entries_.splice(entries_.begin(), entries_, found->second);
        return entries_.front().sound;
      }
      bytes_ -= entry.sound->bytes();
      entries_.erase(found->second);
      by_key_.erase(found);
    }
  }
  auto sound = std::make_shared<const DecodedSound>(DecodeWavFile(file, *memory_));
  if (!ec) {
    entries_.push_front({key, size, written, sound});
    by_key_[key] = entries_.begin();
    bytes_ += sound->bytes();
    Trim();
  }
  return sound;
}

void SoundCache::Clear() {
  entries_.clear();
  by_key_.clear();
  bytes_ = 0;
}

void SoundCache::Trim() {
  // The newest sound stays even when it alone is over the budget.
  while (bytes_ > budget_ && entries_.size() > 1) {
    Entry& oldest = entries_.back();
    bytes_ -= oldest.sound->bytes();
    by_key_.erase(oldest.key);
    entries_.pop_back();
  }
}

}  // namespace qv::platform
