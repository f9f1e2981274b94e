#include "platform/sound_files.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <system_error>

#include "core/vb_error.h"
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

// A copy of a RIFF file whose chunk sizes claim no more than the file holds. SDL sets
// aside memory for the size a chunk claims before it reads it: a header claiming
// gigabytes would cost that much for a file of a few bytes.
std::vector<uint8_t> WithHonestChunkSizes(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());
  constexpr size_t kHeader = 8;
  auto clamp = [&](size_t at) {
    const size_t room = copy.size() - at - kHeader;
    const uint32_t claimed = ReadLe32(&copy[at + 4]);
    const uint32_t honest = static_cast<uint32_t>(std::min<size_t>(claimed, room));
    WriteLe32(&copy[at + 4], honest);
    return honest;
  };
  if (copy.size() < 12) return copy;
  clamp(0);
  size_t at = 12;  // "RIFF", its size, "WAVE"
  while (at + kHeader <= copy.size()) {
    const uint32_t length = clamp(at);
    at += kHeader + length + (length & 1u);
  }
  return copy;
}

}  // namespace

std::vector<uint8_t> ReadSoundFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) Raise(kErrFileNotFound);
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) Raise(kErrPathFileAccess);
  if (size > kMaxSoundFileBytes) InvalidFormat();
  std::ifstream in(file, std::ios::binary);
  if (!in) Raise(kErrPathFileAccess);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<uintmax_t>(in.gcount()) != size) Raise(kErrPathFileAccess);
  return bytes;
}

DecodedSound DecodeWav(std::span<const uint8_t> bytes) {
  if (bytes.size() > kMaxSoundFileBytes) InvalidFormat();
  const std::vector<uint8_t> riff = WithHonestChunkSizes(bytes);
  SDL_RWops* source = SDL_RWFromConstMem(riff.data(), static_cast<int>(riff.size()));
  if (source == nullptr) InvalidFormat();
  SDL_AudioSpec layout{};
  WavBuffer wav;
  if (SDL_LoadWAV_RW(source, 1, &layout, &wav.data, &wav.length) == nullptr) InvalidFormat();
  if (layout.freq < kMinRate || layout.freq > kMaxRate) InvalidFormat();
  if (layout.channels < 1 || layout.channels > kMaxChannels) InvalidFormat();

  const size_t frame_bytes =
      static_cast<size_t>(SDL_AUDIO_BITSIZE(layout.format) / 8) * layout.channels;
  if (frame_bytes == 0) InvalidFormat();
  const size_t frames_in = wav.length / frame_bytes;
  // The converted length, with room for the resampler's rounding.
  const double frames_out = static_cast<double>(frames_in) * kMixRate / layout.freq + 64.0;
  const double bytes_out = frames_out * kMixChannels * sizeof(int16_t);
  if (bytes_out > static_cast<double>(kMaxDecodedBytes)) InvalidFormat();

  AudioStreamPtr stream(SDL_NewAudioStream(layout.format, layout.channels, layout.freq,
                                           AUDIO_S16SYS, kMixChannels, kMixRate));
  if (!stream) InvalidFormat();
  const Uint32 whole = static_cast<Uint32>(frames_in * frame_bytes);
  if (whole > 0 && SDL_AudioStreamPut(stream.get(), wav.data, static_cast<int>(whole)) != 0) {
    InvalidFormat();
  }
  // The resampler holds back the last few frames even when flushed: a tail of silence
  // pushes them out, and the result is cut to the sound's own length below.
  const std::vector<Uint8> tail(kTailFrames * frame_bytes, layout.format == AUDIO_U8 ? 0x80 : 0);
  if (SDL_AudioStreamPut(stream.get(), tail.data(), static_cast<int>(tail.size())) != 0) {
    InvalidFormat();
  }
  if (SDL_AudioStreamFlush(stream.get()) != 0) InvalidFormat();

  // The stream hands out what it holds in pieces; take them all.
  DecodedSound sound;
  sound.samples.reserve(static_cast<size_t>(frames_out) * kMixChannels);
  std::vector<int16_t> piece(size_t{16384} * kMixChannels);
  for (;;) {
    const int got = SDL_AudioStreamGet(stream.get(), piece.data(),
                                       static_cast<int>(piece.size() * sizeof(int16_t)));
    if (got < 0) InvalidFormat();
    if (got == 0) break;
    sound.samples.insert(sound.samples.end(), piece.begin(),
                         piece.begin() + got / static_cast<int>(sizeof(int16_t)));
    if (sound.bytes() > kMaxDecodedBytes) InvalidFormat();
  }
  const auto length =
      static_cast<size_t>(std::llround(static_cast<double>(frames_in) * kMixRate / layout.freq)) *
      kMixChannels;
  sound.samples.resize(std::min(length, sound.samples.size() / kMixChannels * kMixChannels));
  return sound;
}

namespace {

// Reads a MIDI file's big-endian numbers and variable-length quantities within bounds.
class MidiReader {
 public:
  MidiReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool AtEnd() const { return at_ == bytes_.size(); }
  size_t Left() const { return bytes_.size() - at_; }
  uint8_t Byte() {
    if (AtEnd()) InvalidFormat();
    return bytes_[at_++];
  }
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
  void Skip(uint32_t count) {
    if (count > Left()) InvalidFormat();
    at_ += count;
  }
  std::span<const uint8_t> Take(uint32_t count) {
    if (count > Left()) InvalidFormat();
    auto part = bytes_.subspan(at_, count);
    at_ += count;
    return part;
  }
  bool Tag(const char* tag) {
    if (Left() < 4 || std::memcmp(bytes_.data() + at_, tag, 4) != 0) return false;
    at_ += 4;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
};

void CheckTrack(std::span<const uint8_t> track) {
  MidiReader in(track);
  uint8_t running = 0;
  while (!in.AtEnd()) {
    in.Quantity();  // delta time
    uint8_t status = in.Byte();
    if (status < 0x80) {
      if (running == 0) InvalidFormat();  // data without a status
      status = running;
      if ((status < 0xC0 || status >= 0xE0) && in.Byte() >= 0x80) InvalidFormat();
    } else if (status < 0xF0) {
      running = status;
      const int data = status >= 0xC0 && status < 0xE0 ? 1 : 2;
      for (int i = 0; i < data; ++i) {
        if (in.Byte() >= 0x80) InvalidFormat();
      }
    } else if (status == 0xF0 || status == 0xF7) {
      in.Skip(in.Quantity());  // system exclusive
    } else if (status == 0xFF) {
      in.Byte();  // meta event type
      in.Skip(in.Quantity());
    } else {
      InvalidFormat();  // no other status belongs in a file
    }
  }
}

}  // namespace

void CheckMidi(std::span<const uint8_t> bytes) {
  MidiReader in(bytes);
  if (!in.Tag("MThd")) InvalidFormat();
  const uint32_t header = in.Number(4);
  if (header < 6) InvalidFormat();
  const uint32_t format = in.Number(2);
  const uint32_t tracks = in.Number(2);
  const uint32_t division = in.Number(2);
  if (format > 2 || tracks == 0 || division == 0) InvalidFormat();
  in.Skip(header - 6);
  uint32_t found = 0;
  while (in.Left() >= 8 && found < tracks) {
    const bool is_track = in.Tag("MTrk");
    if (!is_track) in.Skip(4);  // a chunk of another kind, passed over
    const uint32_t length = in.Number(4);
    const auto chunk = in.Take(length);
    if (is_track) {
      CheckTrack(chunk);
      ++found;
    }
  }
  if (found == 0) InvalidFormat();
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
  const std::vector<uint8_t> bytes = ReadSoundFile(file);
  auto sound = std::make_shared<const DecodedSound>(DecodeWav(bytes));
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
